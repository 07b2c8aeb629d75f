#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>
#include <optional>

#include "app/program_shell.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "platform/gui/gui.h"
#include "tests/support/app_harness.h"

namespace {

class MainWindowTest : public AppTest {};

TEST_F(MainWindowTest, FirstPassShowsTheBareTitleAndGreysTheDocumentItems)
{
    EXPECT_EQ(gui::windowTitle(win::main), "Paramora");
    for (int command : {cmd::fileSave, cmd::fileSaveAs, cmd::exportCsv, cmd::print, cmd::disconnect})
        EXPECT_FALSE(gui::menuItemEnabled(command)) << command;
    for (int command : {cmd::fileOpen, cmd::newZr12, cmd::commSettings, cmd::monitor, cmd::exit})
        EXPECT_TRUE(gui::menuItemEnabled(command)) << command;
    EXPECT_FALSE(gui::controlEnabled(ctl::readAllButton));
    EXPECT_FALSE(gui::controlEnabled(ctl::writeAllButton));
    EXPECT_EQ(gui::statusFieldText(win::main, 1), "----");
}

TEST_F(MainWindowTest, NewZr12BuildsTreeAndTable)
{
    triggerMenu(cmd::newZr12);
    EXPECT_EQ(gui::windowTitle(win::main), "Paramora - New_Zr12.pmr");
    EXPECT_TRUE(gui::menuItemEnabled(cmd::fileSave));
    EXPECT_FALSE(gui::menuItemEnabled(cmd::print));
    EXPECT_EQ(gui::statusFieldText(win::main, 1), "ПЧ Tovik Zr12");
    // three fixed items, 10 groups, 20 subgroups
    ASSERT_EQ(gui::treeItemCount(ctl::tree), 33);
    EXPECT_EQ(gui::treeItemText(ctl::tree, 0), "Измененные параметры");
    EXPECT_EQ(gui::treeItemText(ctl::tree, 3), "Группа P0 - Базовые функции");
    EXPECT_EQ(gui::treeItemText(ctl::tree, 4), "P0.0 - Базовая группа");
    EXPECT_EQ(gui::treeSelected(ctl::tree), 2);
    ASSERT_EQ(gui::tableRowCount(ctl::table), 464);
    EXPECT_EQ(RowToKey.count(), 464u);
    EXPECT_EQ(gui::cellText(ctl::table, 5, 1), "P0.0.05");
    EXPECT_EQ(gui::cellText(ctl::table, 5, 3), "50.00");
    EXPECT_EQ(gui::cellText(ctl::table, 5, 5), "0.00 ... P0.0.07");
    EXPECT_EQ(gui::cellText(ctl::table, 5, 7), "1029 (0x0405)");
    EXPECT_EQ(gui::cellText(ctl::table, 5, 8), "5 (0x0005)");
    EXPECT_EQ(gui::cellText(ctl::table, 0, 4), "1: Тип HD (постоянный момент)");

    selectTreeItem(4);  // subgroup P0.0
    EXPECT_EQ(gui::tableRowCount(ctl::table), 25);
    selectTreeItem(3);  // group P0: both of its subgroups
    EXPECT_EQ(gui::tableRowCount(ctl::table), 51);
}

// Neither Ctrl with a click nor Ctrl+Space takes the selection off the tree's selected item: the
// table keeps its rows and no tree line without an item is logged.
TEST_F(MainWindowTest, TheTreeAlwaysKeepsOneItemSelected)
{
    logOut = 1;
    triggerMenu(cmd::newZr12);
    selectTreeItem(4);  // subgroup P0.0
    ASSERT_EQ(gui::tableRowCount(ctl::table), 25);
    auto* tree = qobject_cast<QTreeWidget*>(gui::widgetOf(ctl::tree));
    ASSERT_NE(tree, nullptr);
    const QPoint selected = tree->visualItemRect(tree->selectedItems().value(0)).center();
    const std::string log = readFileBytes("Paramora.log");

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier, selected);
    pump();
    EXPECT_EQ(gui::treeSelected(ctl::tree), 4);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Space, Qt::ControlModifier);
    pump();
    EXPECT_EQ(gui::treeSelected(ctl::tree), 4);
    EXPECT_EQ(gui::tableRowCount(ctl::table), 25);
    EXPECT_EQ(readFileBytes("Paramora.log"), log);
}

TEST_F(MainWindowTest, EveryModelOpensThroughFileNew)
{
    struct Case {
        int command;
        const char* title;
        int rows;
    };
    for (const Case& c : {Case{cmd::newZr24, "ПЧ Halmer Zr24", 462}, Case{cmd::newZr48, "ПЧ Tovik Zr48", 531},
                          Case{cmd::newZr48X, "ПЧ Tovik Zr48X", 617}, Case{cmd::newYv20, "ПЧ Tovik Yv20", 502},
                          Case{cmd::newYv32, "ПЧ Tovik Yv32", 710}, Case{cmd::newYv33, "ПЧ Tovik Yv33", 731},
                          Case{cmd::newJx9, "УПП Tovik Jx9", 56}}) {
        triggerMenu(c.command);
        EXPECT_EQ(gui::statusFieldText(win::main, 1), c.title);
        EXPECT_EQ(gui::tableRowCount(ctl::table), c.rows) << c.title;
        EXPECT_GT(gui::treeItemCount(ctl::tree), 3) << c.title;
    }
    // Jx9's subgroups share their groups' codes: the tree lists the four groups alone.
    EXPECT_EQ(gui::treeItemCount(ctl::tree), 3 + 4);
}

TEST_F(MainWindowTest, StatusBarFieldsHaveTheirWidthsAlignmentsAndBorders)
{
    struct Field {
        int width;
        std::optional<Qt::Alignment> align;  // none: a picture, a progress bar or nothing
        bool bordered;
    };
    const Field expected[] = {{170, Qt::AlignHCenter, false}, {100, Qt::AlignLeft, true},  {100, Qt::AlignHCenter, false},
                              {30, std::nullopt, true},       {70, Qt::AlignHCenter, false}, {200, std::nullopt, false},
                              {10, std::nullopt, true}};
    const auto* bar = gui::windowWidget(win::main)->findChild<QStatusBar*>();
    ASSERT_NE(bar, nullptr);
    const auto fields = bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(fields.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const QLabel* field = fields[static_cast<qsizetype>(i)];
        EXPECT_EQ(field->width(), expected[i].width);
        if (expected[i].align) {
            EXPECT_EQ(field->alignment() & Qt::AlignHorizontal_Mask, *expected[i].align);
        }
        EXPECT_EQ(field->frameShape() != QFrame::NoFrame && field->frameWidth() > 0, expected[i].bordered);
    }
}

// The load blocks the loop, so the Wait Window must be on the screen, exposed and painted, before
// the loader starts: a window only asked for would reach the screen after the load.
TEST_F(MainWindowTest, WaitWindowIsOnTheScreenBeforeTheLoadStarts)
{
    struct PaintWatch : QObject {
        bool paintedBeforeLoad = false;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            auto* window = static_cast<QWidget*>(watched)->windowHandle();
            if (event->type() == QEvent::Paint && window && window->isExposed() && parameters.empty())
                paintedBeforeLoad = true;
            return false;
        }
    } watch;
    QWidget* wait = gui::windowWidget(win::wait);
    ASSERT_NE(wait, nullptr);
    wait->installEventFilter(&watch);
    triggerMenu(cmd::newZr48X);
    EXPECT_TRUE(watch.paintedBeforeLoad);
    EXPECT_FALSE(gui::windowVisible(win::wait));
    EXPECT_EQ(gui::tableRowCount(ctl::table), 617);
}

TEST_F(MainWindowTest, ClickOnASetCellShowsThatRowsEditorOverTheCell)
{
    triggerMenu(cmd::newZr12);
    const int row = rowOfCode("P0.0.05");
    clickCell(row, 3);
    const std::int32_t key = findParameterByCode("P0.0.05")->optionKey;
    EXPECT_TRUE(gui::controlVisible(key));
    const gui::Rect cell = gui::tableCellRect(ctl::table, row, 3);
    const gui::Rect editor = gui::controlRect(key);
    EXPECT_EQ(editor.x, cell.x);
    EXPECT_EQ(editor.y, cell.y);
    EXPECT_EQ(editor.w, cell.w);

    // A click elsewhere hides it again; a read-only row never shows its editor.
    clickCell(row, 1);
    EXPECT_FALSE(gui::controlVisible(key));
    selectTreeItem(32);  // P9.0, all read-only
    clickCell(0, 3);
    EXPECT_FALSE(gui::controlVisible(RowToKey.read(0)));
}

TEST_F(MainWindowTest, TypingIsFilteredAndReturnClampsAndCascades)
{
    triggerMenu(cmd::newZr12);
    const int key = findParameterByCode("P0.0.05")->optionKey;
    clickCell(rowOfCode("P0.0.05"), 3);
    auto* field = qobject_cast<QLineEdit*>(gui::widgetOf(key));
    ASSERT_NE(field, nullptr);
    field->selectAll();
    typeInto(key, "1a2.3.4-5");
    EXPECT_EQ(gui::text(key), "12.345");

    // Above the maximum, which names P0.0.07 (50.00): clamped to its current value.
    field->selectAll();
    typeInto(key, "120.00");
    pressReturn(key);
    EXPECT_EQ(gui::text(key), "50.00");
    EXPECT_EQ(findParameterByCode("P0.0.05")->setValue, 5000);
    EXPECT_FALSE(gui::controlVisible(key));

    // Lowering P0.0.07 lowers the set values of the parameters it bounds from above.
    const auto enter = [&](const char* code, const char* text) {
        const int k = findParameterByCode(code)->optionKey;
        clickCell(rowOfCode(code), 3);
        qobject_cast<QLineEdit*>(gui::widgetOf(k))->selectAll();
        typeInto(k, text);
        pressReturn(k);
    };
    enter("P0.0.07", "100");
    enter("P0.0.05", "80");
    EXPECT_EQ(findParameterByCode("P0.0.05")->setValue, 8000);
    enter("P0.0.07", "60");
    EXPECT_EQ(findParameterByCode("P0.0.07")->setValue, 6000);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.07"), 3), "60.00");
    EXPECT_EQ(findParameterByCode("P0.0.05")->setValue, 6000);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.05"), 3), "60.00");
    EXPECT_EQ(gui::text(key), "60.00");
    // Below its own minimum (50.00) an entry becomes the minimum.
    enter("P0.0.07", "40");
    EXPECT_EQ(findParameterByCode("P0.0.07")->setValue, 5000);
}

TEST_F(MainWindowTest, AnEditMarksTheRowAndTheDocument)
{
    triggerMenu(cmd::newZr12);
    const int key = findParameterByCode("P0.0.11")->optionKey;  // 0.0 ... 6500.0, no default
    const int row = rowOfCode("P0.0.11");
    clickCell(row, 3);
    qobject_cast<QLineEdit*>(gui::widgetOf(key))->selectAll();
    typeInto(key, "12.5");
    pressReturn(key);
    EXPECT_EQ(findParameterByCode("P0.0.11")->setValue, 125);
    EXPECT_EQ(gui::cellColour(ctl::table, row, 2), gui::Rgb::of(250, 250, 175));
    EXPECT_EQ(documentState, 2);
    EXPECT_EQ(gui::windowTitle(win::main), "Paramora - *New_Zr12.pmr");

    selectTreeItem(0);  // "Измененные параметры"
    ASSERT_EQ(gui::tableRowCount(ctl::table), 1);
    EXPECT_EQ(gui::cellText(ctl::table, 0, 1), "P0.0.11");
}

TEST_F(MainWindowTest, CheckBoxColumnFeedsTheCheckedFilter)
{
    triggerMenu(cmd::newZr12);
    const int row = rowOfCode("P0.0.03");
    clickCell(row, 0);
    EXPECT_EQ(CheckedKeys.read(findParameterByCode("P0.0.03")->optionKey), 1);
    selectTreeItem(1);
    ASSERT_EQ(gui::tableRowCount(ctl::table), 1);
    EXPECT_TRUE(gui::rowChecked(ctl::table, 0));
    clickCell(0, 0);  // unticking refreshes the filtered table at once
    EXPECT_EQ(gui::tableRowCount(ctl::table), 0);
}

TEST_F(MainWindowTest, RightClicksOpenThePopupOfTheColumn)
{
    triggerMenu(cmd::newZr12);
    const int row = rowOfCode("P0.0.05");
    clickCell(row, 3, Qt::RightButton);
    EXPECT_EQ(gui::popupShown(), popup::setValue);
    EXPECT_TRUE(gui::menuItemEnabled(cmd::setDefault));
    EXPECT_FALSE(gui::menuItemEnabled(cmd::writeCurrent));  // not connected
    EXPECT_FALSE(gui::menuItemEnabled(cmd::writeCurrentEeprom));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);

    clickCell(row, 4, Qt::RightButton);
    EXPECT_EQ(gui::popupShown(), popup::readValue);
    EXPECT_FALSE(gui::menuItemEnabled(cmd::readCurrent));
    EXPECT_FALSE(gui::menuItemEnabled(cmd::showDetails));
    EXPECT_TRUE(gui::menuItemEnabled(cmd::copyCurrent));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);

    clickCell(row, 1, Qt::RightButton);
    EXPECT_EQ(gui::popupShown(), popup::clipboard);
    EXPECT_TRUE(gui::menuItemEnabled(cmd::copyRowToClipboard));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);

    // Below the last row: no row, no popup.
    selectTreeItem(4);
    const gui::Rect last = gui::tableCellRect(ctl::table, gui::tableRowCount(ctl::table) - 1, 1);
    clickTableAt(QPoint(last.x + 5, last.y + last.h + 40), Qt::RightButton);
    EXPECT_EQ(currentRow, -1);
    EXPECT_EQ(gui::popupShown(), -1);
}

TEST_F(MainWindowTest, ResizeHidesTheEditorAndLaysOutTheControls)
{
    triggerMenu(cmd::newZr12);
    const int key = findParameterByCode("P0.0.05")->optionKey;
    clickCell(rowOfCode("P0.0.05"), 3);
    ASSERT_TRUE(gui::controlVisible(key));
    gui::resizeWindow(win::main, 1200, 800);
    pump();
    EXPECT_FALSE(gui::controlVisible(key));
    EXPECT_EQ(gui::controlRect(ctl::readAllButton).y, 680);
    EXPECT_EQ(gui::controlRect(ctl::logo).x, 1000);
    EXPECT_EQ(gui::controlRect(ctl::logo).y, 675);
}

TEST_F(MainWindowTest, CloseBoxAsksTheSaveQuestionOnlyForAModifiedDocument)
{
    triggerMenu(cmd::newZr12);
    documentState = 2;
    answers.push_back(gui::Answer::No);
    gui::windowWidget(win::main)->close();
    pump();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Внимание");
    EXPECT_EQ(messages[0].text, "Текущий открытый файл не сохранен\nЖелаете сохранить?");
    EXPECT_FALSE(gui::windowExists(win::main));
    EXPECT_TRUE(fileExists("Paramora.ini"));
}

TEST_F(MainWindowTest, MonitorToggleKeepsItsTraceAndTheMainWindowActive)
{
    triggerMenu(cmd::monitor);
    EXPECT_TRUE(gui::windowVisible(win::monitor));
    EXPECT_TRUE(gui::menuItemChecked(cmd::monitor));
    gui::appendLine(ctl::traceText, "line");
    triggerMenu(cmd::monitor);
    EXPECT_FALSE(gui::windowVisible(win::monitor));
    EXPECT_FALSE(gui::menuItemChecked(cmd::monitor));
    triggerMenu(cmd::monitor);
    EXPECT_EQ(gui::text(ctl::traceText), "line");
}

TEST_F(MainWindowTest, AboutDisablesTheMainWindowUntilClosedAndTogglesTheTerms)
{
    triggerMenu(cmd::about);
    EXPECT_FALSE(gui::windowEnabled(win::main));
    clickButton(ctl::aboutTermsButton);
    EXPECT_EQ(gui::windowInnerRect(win::about).h, 390);
    EXPECT_TRUE(gui::controlExists(ctl::aboutTermsText));
    clickButton(ctl::aboutTermsButton);
    EXPECT_EQ(gui::windowInnerRect(win::about).h, 190);
    EXPECT_FALSE(gui::controlExists(ctl::aboutTermsText));
    clickButton(ctl::aboutCloseButton);
    EXPECT_FALSE(gui::windowExists(win::about));
    EXPECT_TRUE(gui::windowEnabled(win::main));
}

}  // namespace

namespace {

TEST_F(MainWindowTest, TheWindowCannotBeMadeSmallerThanItsMinimum)
{
    gui::resizeWindow(win::main, 400, 300);
    pump();
    const gui::Rect inner = gui::windowInnerRect(win::main);
    EXPECT_GE(inner.w, 700);
    EXPECT_GE(inner.h, 500);
}

TEST_F(MainWindowTest, ExitAsksBeforeDroppingAModifiedDocumentAndSavesNoSettings)
{
    triggerMenu(cmd::newZr12);
    documentState = 2;
    const std::string settingsBefore = readFileBytes("Paramora.ini");
    answers.push_back(gui::Answer::No);
    triggerMenu(cmd::exit);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Внимание");
    EXPECT_FALSE(gui::windowExists(win::main));
    EXPECT_EQ(readFileBytes("Paramora.ini"), settingsBefore);
}

}  // namespace

namespace {

// Sizes a damaged or hand-edited settings file may hold. The program starts from each, lays out
// its window and works; a window larger than the screen (65535 pixels) could not even be painted.
TEST_F(MainWindowTest, OutOfRangeSizesInTheSettingsStillGiveAUsableWindow)
{
    const char* keys[] = {"Width", "Height", "Splitter", "colWidth_Code", "colWidth_Name", "colWidth_Set",
                          "colWidth_Read", "colWidth_Range", "colWidth_Default", "colWidth_Addr", "colWidth_AddrEE"};
    for (const char* size : {"0", "1", "65535", "65536", "100000", "-1", "-2147483648", "99999999999999999999"}) {
        SCOPED_TRACE(size);
        std::string settings = validSettingsFile(folder());
        for (const char* key : keys) {
            const std::size_t at = settings.find(std::string(key) + " = ") + std::string(key).size() + 3;
            settings.replace(at, settings.find("\r\n", at) - at, size);
        }
        endProgram();
        writeFileBytes("Paramora.ini", settings);
        ASSERT_TRUE(startProgram());
        pump();
        const gui::Rect inner = gui::windowInnerRect(win::main);
        const gui::Rect screen = gui::availableScreenArea();
        EXPECT_LE(inner.w, std::max(screen.w, 960));
        EXPECT_LE(inner.h, std::max(screen.h, 640));
        const gui::Rect button = gui::controlRect(ctl::readAllButton);
        EXPECT_LE(button.y + button.h, inner.h);
        triggerMenu(cmd::newZr12);
        EXPECT_GT(rowOfCode("P0.0.05"), -1);
        clickCell(0, 3);
        EXPECT_EQ(documentState, 1);
    }
}

}  // namespace
