#include "tests/support/app_harness.h"

#include <QAbstractItemView>
#include <QAction>
#include <QTest>
#include <QTreeWidget>

#include "app/program_shell.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "description/description_store.h"

std::string validSettingsFile(const std::string& filePath, int logOut)
{
    return "\xEF\xBB\xBF\r\n[General]\r\nFilePath = " + filePath + "\r\nwaitTimer = 100\r\nrepeatCount = 3\r\nlogOut = " +
           std::to_string(logOut) +
           "\r\n[MainWindow]\r\nState = 0\r\nWidth = 960\r\nHeight = 640\r\nSplitter = 235\r\n[ParametersTable]\r\n"
           "colWidth_Code = 50\r\ncolWidth_Name = 220\r\ncolWidth_Set = 150\r\ncolWidth_Read = 150\r\n"
           "colWidth_Range = 100\r\ncolWidth_Default = 80\r\ncolWidth_Addr = 100\r\ncolWidth_AddrEE = 120\r\n";
}

void AppTest::SetUp()
{
    WorkingFolderTest::SetUp();
    writeFileBytes("Paramora.ini", validSettingsFile(folder()));
    gui::closeAllWindows();
    documentState = 0;
    currentFileName.clear();
    currentFilePath.clear();
    connectedPort = 0;
    currentRow = currentColumn = targetRow = 0;
    ASSERT_TRUE(startProgram());
    pump();
}

void AppTest::TearDown()
{
    endProgram();
    WorkingFolderTest::TearDown();
}

void AppTest::pump()
{
    for (int idle = 0; idle < 3;) {
        const gui::Event event = gui::pollEvent();
        if (event.kind == gui::EventKind::None) {
            ++idle;
            continue;
        }
        idle = 0;
        handleEvent(event);
    }
}

void AppTest::triggerMenu(int command)
{
    QAction* action = gui::menuAction(command);
    ASSERT_NE(action, nullptr);
    ASSERT_TRUE(action->isEnabled()) << "menu command " << command << " is disabled";
    action->trigger();
    pump();
}

void AppTest::clickButton(int id)
{
    QTest::mouseClick(gui::widgetOf(id), Qt::LeftButton);
    pump();
}

void AppTest::clickCell(int row, int column, Qt::MouseButton button)
{
    const gui::Rect cell = gui::tableCellRect(ctl::table, row, column);
    clickTableAt(QPoint(cell.x + cell.w / 2, cell.y + cell.h / 2), button);
}

void AppTest::clickTableAt(QPoint cellAreaPoint, Qt::MouseButton button)
{
    auto* view = qobject_cast<QAbstractItemView*>(gui::widgetOf(ctl::table));
    ASSERT_NE(view, nullptr);
    QTest::mouseClick(view->viewport(), button, {}, cellAreaPoint);
    pump();
}

void AppTest::typeInto(int id, const std::string& text)
{
    QWidget* widget = gui::widgetOf(id);
    ASSERT_NE(widget, nullptr);
    QTest::keyClicks(widget, QString::fromStdString(text));
    pump();
}

void AppTest::pressReturn(int id)
{
    QTest::keyClick(gui::widgetOf(id), Qt::Key_Return);
    pump();
}

void AppTest::selectTreeItem(int index)
{
    auto* tree = qobject_cast<QTreeWidget*>(gui::widgetOf(ctl::tree));
    ASSERT_NE(tree, nullptr);
    QTreeWidgetItemIterator it(tree);
    for (int i = 0; i < index && *it; ++i)
        ++it;
    ASSERT_TRUE(*it);
    const QRect r = tree->visualItemRect(*it);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    pump();
}

int AppTest::rowOfCode(const std::string& code)
{
    const int rows = gui::tableRowCount(ctl::table);
    for (int r = 0; r < rows; ++r)
        if (gui::cellText(ctl::table, r, 1) == code)
            return r;
    return -1;
}
