#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>

#include "app/parameter_table.h"
#include "tests/app/document_test_support.h"

namespace {

class InPlaceEditorTest : public DocumentTest {
protected:
    QTableView* tableView() { return qobject_cast<QTableView*>(gui::widgetOf(ctl::table)); }

    // One notch of the wheel over the middle of a widget, as the window system hands it to the
    // widget under the cursor; positive turns away from the user.
    void turnWheel(QWidget* widget, int notches)
    {
        const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
        QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
        pump();
    }
};

TEST_F(InPlaceEditorTest, TheWheelOverAnEditorScrollsTheTableAndNeverChangesTheValue)
{
    struct Case {
        const char* code;
        int notches;
    };
    // A choice list at its first and in its middle entry, and a number field.
    for (const Case& c : {Case{"P0.0.06", -1}, Case{"P0.0.04", 1}, Case{"P0.0.04", -1}, Case{"P0.0.05", -1}}) {
        SCOPED_TRACE(std::string(c.code) + " " + std::to_string(c.notches));
        triggerMenu(cmd::newZr12);
        const Parameter& p = parameter(c.code);
        const std::int32_t setValue = p.setValue;
        const int row = rowOfCode(c.code);
        const std::string cell = gui::cellText(ctl::table, row, column::set);
        clickCell(row, column::set);
        ASSERT_TRUE(gui::controlVisible(p.optionKey));

        turnWheel(gui::widgetOf(p.optionKey), c.notches);
        EXPECT_EQ(p.setValue, setValue);
        EXPECT_EQ(gui::text(p.optionKey), cell);
        EXPECT_EQ(gui::cellText(ctl::table, row, column::set), cell);
        EXPECT_EQ(documentState, 1);
        EXPECT_FALSE(gui::controlVisible(p.optionKey));
        EXPECT_EQ(tableView()->verticalScrollBar()->value() > 0, c.notches < 0) << "the table scrolls instead";
    }
}

}  // namespace
