#pragma once
// The whole program started in a test's own folder, driven through its real widgets: clicks and
// keys go to the Qt widgets, the events they raise go through the program's own loop pass.

#include <QPoint>

#include <string>

#include "platform/gui/gui.h"
#include "tests/support/working_folder.h"

// A valid Paramora.ini with the default sizes and the given folder and log switch.
std::string validSettingsFile(const std::string& filePath, int logOut = 0);

class AppTest : public WorkingFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Hands every queued window event to the program until none is left.
    void pump();
    void triggerMenu(int command);
    void clickButton(int id);
    // A click in a table cell (cell-area coordinates of its centre, or an offset inside it).
    void clickCell(int row, int column, Qt::MouseButton button = Qt::LeftButton);
    void clickTableAt(QPoint cellAreaPoint, Qt::MouseButton button);
    // Types text into a control's widget and presses nothing else.
    void typeInto(int id, const std::string& text);
    void pressReturn(int id);
    void selectTreeItem(int index);
    // The table row that shows a parameter code, or -1.
    int rowOfCode(const std::string& code);
};
