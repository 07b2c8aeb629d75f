#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>

#include <functional>

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

    // Lets every timer a click starts run out (Qt scrolls a clicked cell into view after the
    // double-click interval).
    void waitAfterClick()
    {
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        pump();
    }

    QMenu* fileMenu() { return gui::windowWidget(win::main)->findChild<QMenuBar*>()->actions().at(0)->menu(); }
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

TEST_F(InPlaceEditorTest, AClickOnAPartlyVisibleSetCellShowsItsEditorThereAndKeepsTheTableStill)
{
    triggerMenu(cmd::newZr12);
    QTableView* view = tableView();
    // A wide name column pushes the set column out past the table's right edge but its first 40 pixels.
    const int areaWidth = view->viewport()->width();
    view->setColumnWidth(column::name, areaWidth - view->columnViewportPosition(column::name) - 40);
    for (const char* code : {"P0.0.05", "P0.0.06"}) {
        SCOPED_TRACE(code);
        const int key = parameter(code).optionKey;
        const gui::Rect cell = gui::tableCellRect(ctl::table, rowOfCode(code), column::set);
        ASSERT_GT(cell.x + cell.w, areaWidth);
        clickTableAt(QPoint(cell.x + 20, cell.y + cell.h / 2), Qt::LeftButton);
        waitAfterClick();
        EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
        EXPECT_TRUE(gui::controlVisible(key));
        EXPECT_EQ(gui::controlRect(key).x, cell.x);
        EXPECT_EQ(gui::controlRect(key).y, cell.y);
    }
}

TEST_F(InPlaceEditorTest, AnEditorHiddenAfterItsEntryRaisesNoMoreEvents)
{
    logOut = 1;
    triggerMenu(cmd::newZr12);
    const std::function<void()> confirmNumber = [this] {
        focusSetCell("P0.0.11");
        qobject_cast<QLineEdit*>(gui::widgetOf(parameter("P0.0.11").optionKey))->selectAll();
        typeInto(parameter("P0.0.11").optionKey, "12.5");
        pressReturn(parameter("P0.0.11").optionKey);
    };
    const std::function<void()> pickChoice = [this] {
        focusSetCell("P0.0.06");  // the click opens the list's drop-down
        ASSERT_NE(QApplication::activePopupWidget(), nullptr);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTest::keyClick(gui::widgetOf(parameter("P0.0.06").optionKey), Qt::Key_Down);
        pump();
    };
    for (const auto& enter : {confirmNumber, pickChoice}) {
        enter();
        ASSERT_EQ(parameter("P0.0.11").setValue, 125);
        const std::int32_t choice = parameter("P0.0.06").setValue;
        const std::string log = logText();

        // A menu opened and closed gives the focus back to whatever held it before.
        fileMenu()->popup(gui::windowWidget(win::main)->mapToGlobal(QPoint(10, 10)));
        pump();
        ASSERT_NE(QApplication::activePopupWidget(), nullptr);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        pump();
        // Keys typed now reach no hidden field.
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClicks(focused, "7");
        QTest::keyClick(focused, Qt::Key_Return);
        pump();

        EXPECT_EQ(logText(), log);
        EXPECT_EQ(parameter("P0.0.11").setValue, 125);
        EXPECT_EQ(parameter("P0.0.06").setValue, choice);
    }
}

}  // namespace
