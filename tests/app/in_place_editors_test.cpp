#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTimer>
#include <QTableView>
#include <QWheelEvent>

#include <functional>
#include <sstream>
#include <vector>

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
    // double-click interval): a timer of ours, due later, has fired.
    void waitAfterClick()
    {
        bool fired = false;
        QTimer::singleShot(QApplication::doubleClickInterval() + 200, [&fired] { fired = true; });
        ASSERT_TRUE(QTest::qWaitFor([&fired] { return fired; }, 10000));
        pump();
    }

    int highlightedRow()
    {
        const QModelIndexList rows = tableView()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.front().row() : -1;
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

// Keys typed after a click reach the editor the click showed; the table's own type-ahead never
// moves its highlight away from the row the program works on, nor does a drag.
TEST_F(InPlaceEditorTest, KeysAfterAClickGoToItsEditorAndNeverMoveTheTablesRow)
{
    struct Case {
        int model;
        const char* code;
        int column;
        const char* typed;
        bool editorTakesKeys;
    };
    for (const Case& c : {Case{cmd::newZr12, "P0.0.05", column::set, "1", true},
                          Case{cmd::newJx9, "00002", column::set, "00", true},
                          Case{cmd::newZr12, "P0.0.05", column::code, "P0.0.1", false}}) {
        SCOPED_TRACE(std::string(c.code) + " column " + std::to_string(c.column));
        triggerMenu(c.model);
        tableView()->keyboardSearch({});  // the table would go on with a search an earlier case typed
        const int key = parameter(c.code).optionKey;
        const int row = rowOfCode(c.code);
        clickCell(row, c.column);
        const std::string before = gui::text(key);
        QWidget* keyboard = QApplication::focusWidget();
        ASSERT_NE(keyboard, nullptr);
        QTest::keyClicks(keyboard, QString::fromLatin1(c.typed));
        pump();
        EXPECT_EQ(currentRow, row);
        EXPECT_EQ(highlightedRow(), row);
        EXPECT_EQ(tableView()->currentIndex().row(), row);
        if (c.editorTakesKeys) {
            EXPECT_EQ(keyboard, gui::widgetOf(key));
            EXPECT_EQ(gui::text(key), c.typed) << "typing replaces the value the click showed";
        } else {
            EXPECT_EQ(gui::text(key), before);
        }
    }

    // Pressed on a set cell and dragged down, the highlight stays on the pressed row.
    triggerMenu(cmd::newZr12);
    const int row = rowOfCode("P0.0.05");
    const gui::Rect cell = gui::tableCellRect(ctl::table, row, column::set);
    QWidget* area = tableView()->viewport();
    const QPoint pressed(cell.x + 10, cell.y + cell.h / 2);
    QTest::mousePress(area, Qt::LeftButton, {}, pressed);
    for (int down = 1; down <= 3; ++down)
        QTest::mouseMove(area, pressed + QPoint(0, down * cell.h));
    QTest::mouseRelease(area, Qt::LeftButton, {}, pressed + QPoint(0, 3 * cell.h));
    pump();
    EXPECT_EQ(highlightedRow(), row);
    EXPECT_EQ(tableView()->currentIndex().row(), row);
}

// The click that shows a field selects its text, so typing replaces the value; a later click into
// the field places the caret where it lands and selects nothing.
TEST_F(InPlaceEditorTest, TypingReplacesTheClickedValueAndASecondClickPlacesTheCaret)
{
    struct Case {
        const char* code;
        const char* typed;
        const char* confirmed;
        std::int32_t setValue;
    };
    for (const Case& c : {Case{"P0.0.05", "12", "12.00", 1200}, Case{"P0.0.11", "7", "7.0", 70}}) {
        SCOPED_TRACE(c.code);
        triggerMenu(cmd::newZr12);
        const int key = parameter(c.code).optionKey;
        const int row = rowOfCode(c.code);
        clickCell(row, column::set);
        typeInto(key, c.typed);
        pressReturn(key);
        EXPECT_EQ(parameter(c.code).setValue, c.setValue);
        EXPECT_EQ(gui::cellText(ctl::table, row, column::set), c.confirmed);

        clickCell(row, column::set);
        auto* field = qobject_cast<QLineEdit*>(gui::widgetOf(key));
        ASSERT_EQ(QApplication::focusWidget(), field);
        EXPECT_EQ(field->selectedText().toStdString(), c.confirmed);
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(1, field->height() / 2));
        pump();
        EXPECT_FALSE(field->hasSelectedText());
        EXPECT_EQ(field->cursorPosition(), 0);
        typeInto(key, "5");
        EXPECT_EQ(gui::text(key), std::string("5") + c.confirmed);
    }
}

// A drop-down list reports the keyboard when a click gives it to the list, and only then: its own
// drop-down closing, however it was opened and closed, or a dialog closing gives the keyboard back
// and logs nothing.
TEST_F(InPlaceEditorTest, AListLogsItsFocusOnceHoweverItsDropDownOpensAndCloses)
{
    logOut = 1;
    struct Case {
        int model;
        const char* code;
    };
    for (const Case& c : {Case{cmd::newZr12, "P0.0.00"}, Case{cmd::newYv32, "P00.02"}}) {
        SCOPED_TRACE(c.code);
        triggerMenu(c.model);
        const int key = parameter(c.code).optionKey;
        auto* list = qobject_cast<QComboBox*>(gui::widgetOf(key));
        ASSERT_NE(list, nullptr);
        const std::size_t logStart = logText().size();
        auto editorLines = [&] {
            std::vector<std::string> lines;
            std::istringstream rest(logText().substr(logStart));
            for (std::string line; std::getline(rest, line, '\r');)
                if (const auto at = line.find("#EventType_"); at != std::string::npos)
                    lines.push_back(line.substr(at));
            return lines;
        };
        auto closeWithEscape = [&] {
            ASSERT_TRUE(list->view()->isVisible());
            QTest::keyClick(list->view(), Qt::Key_Escape);
            pump();
            ASSERT_FALSE(list->view()->isVisible());
        };

        clickCell(showRowOf(c.code), column::set);
        ASSERT_EQ(QApplication::focusWidget(), list);
        QTest::mouseClick(list, Qt::LeftButton);
        pump();
        closeWithEscape();
        QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
        pump();
        closeWithEscape();
        QTest::keyClick(list, Qt::Key_F4);
        pump();
        closeWithEscape();
        // Alt lends the keyboard to the menu bar, Escape gives it back.
        QTest::keyClick(list, Qt::Key_Alt);
        ASSERT_EQ(QApplication::focusWidget(), gui::windowWidget(win::main)->findChild<QMenuBar*>());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        ASSERT_EQ(QApplication::focusWidget(), list);
        // A dialog takes the keyboard from the window and gives it back as it closes.
        triggerMenu(cmd::about);
        ASSERT_NE(QApplication::focusWidget(), list);
        clickButton(ctl::aboutCloseButton);
        ASSERT_EQ(QApplication::focusWidget(), list);
        EXPECT_EQ(editorLines(), std::vector<std::string>{"#EventType_Focus"});

        // A pick: the popup ignores a click that comes as soon as it opens, so the keyboard picks.
        QTest::mouseClick(list, Qt::LeftButton);
        pump();
        ASSERT_TRUE(list->view()->isVisible());
        list->view()->setCurrentIndex(list->view()->model()->index(1, 0));
        QTest::keyClick(list->view(), Qt::Key_Return);
        pump();
        EXPECT_EQ(editorLines(), (std::vector<std::string>{"#EventType_Focus", "#EventType_Change"}));
        EXPECT_EQ(parameter(c.code).setValue, list->itemData(1).toInt());
        EXPECT_FALSE(gui::controlVisible(key));
    }
}

// The first click of a double click under "Отмеченные параметры" unticks the box and refills the
// table; the second lands on the row that moved up, and must not untick that one too.
TEST_F(InPlaceEditorTest, ADoubleClickOnACheckBoxTogglesOnce)
{
    for (int tree : {treeItemAll, treeItemChecked}) {
        SCOPED_TRACE(tree);
        triggerMenu(cmd::newZr12);
        for (const char* code : {"P0.0.00", "P0.0.01", "P0.0.02"})
            clickCell(rowOfCode(code), column::check);
        selectTreeItem(tree);
        const gui::Rect box = gui::tableCellRect(ctl::table, 0, column::check);
        const QPoint centre(box.x + box.w / 2, box.y + box.h / 2);
        QWidget* area = tableView()->viewport();
        // What the window system delivers: press, release, then the second press as a double click.
        QTest::mouseClick(area, Qt::LeftButton, {}, centre);
        pump();
        QTest::mouseDClick(area, Qt::LeftButton, {}, centre);
        QTest::mouseRelease(area, Qt::LeftButton, {}, centre);
        pump();
        EXPECT_EQ(CheckedKeys.read(parameter("P0.0.00").optionKey), 0);
        EXPECT_EQ(CheckedKeys.read(parameter("P0.0.01").optionKey), 1);
        EXPECT_EQ(CheckedKeys.read(parameter("P0.0.02").optionKey), 1);
    }
}

}  // namespace
