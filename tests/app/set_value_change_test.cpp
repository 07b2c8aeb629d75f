// Every way the user changes a set value marks the document modified, whether or not the new
// value equals the read one; a command that changes no set value leaves the mark as it was.

#include <gtest/gtest.h>

#include <QApplication>

#include <functional>

#include "app/in_place_editors.h"
#include "app/parameter_table.h"
#include "app/value_editors.h"
#include "tests/app/document_test_support.h"

namespace {

class SetValueChange : public DocumentTest {
protected:
    // A popup command on a row, as the user picks it after a right click in the column.
    void popupCommand(const std::string& code, int column, int command)
    {
        clickCell(showRowOf(code), column, Qt::RightButton);
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
        triggerMenu(command);
    }

    // Values as a read or an earlier saved document left them: no command, no mark.
    void presetValues(const std::string& code, std::int32_t setValue, std::int32_t readValue)
    {
        Parameter& p = parameter(code);
        p.setValue = setValue;
        p.readValue = readValue;
        syncEditorToSetValue(p);
    }
};

TEST_F(SetValueChange, EveryCommandThatChangesASetValueMarksTheDocumentAndNoOtherDoes)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::function<void()> command;
        bool changes;
    };
    // Where a set value changes it ends equal to the read one, and where none changes the two
    // differ: the row's colour is no guide to the mark.
    const std::function<void()> nothing = [] {};
    const Case cases[] = {
        {"copy one", [&] { presetValues("P0.0.05", 5000, 1234); },
         [&] { popupCommand("P0.0.05", column::read, cmd::copyCurrent); }, true},
        {"copy one of an equal value", nothing, [&] { popupCommand("P0.0.05", column::read, cmd::copyCurrent); },
         false},
        {"copy all", [&] { presetValues("P0.0.01", 0, 2); },
         [&] { popupCommand("P0.0.05", column::read, cmd::copyAll); }, true},
        {"copy all of equal values", nothing, [&] { popupCommand("P0.0.05", column::read, cmd::copyAll); }, false},
        {"set default", [&] { presetValues("P0.0.05", 1234, 5000); },
         [&] { popupCommand("P0.0.05", column::set, cmd::setDefault); }, true},
        {"set default on the default", [&] { presetValues("P0.0.05", 5000, 1234); },
         [&] { popupCommand("P0.0.05", column::set, cmd::setDefault); }, false},
        {"value-editor OK", [&] { presetValues("P5.0.02", 0x1F, 0x1E); },
         [&] {
             focusSetCell("P5.0.02");
             clickControl(editorctl::bitBox + 0);
             clickButton(editorctl::bitOk);
         },
         true},
        {"value-editor OK unchanged", [&] { presetValues("P5.0.02", 0x1F, 0x1E); },
         [&] {
             focusSetCell("P5.0.02");
             clickButton(editorctl::bitOk);
         },
         false},
        {"typed entry", [&] { presetValues("P0.0.05", 5000, 1234); }, [&] { typeSetValue("P0.0.05", "12.34"); },
         true},
        {"typed entry of the same value", [&] { presetValues("P0.0.05", 5000, 1234); },
         [&] { typeSetValue("P0.0.05", "50.00"); }, false},
        // P0.0.05 may not exceed P0.0.07: confirming P0.0.07 unchanged lowers P0.0.05 alone.
        {"a dependent lowered", [&] { presetValues("P0.0.05", 6000, 6000); },
         [&] { typeSetValue("P0.0.07", "50.00"); }, true},
        {"list pick", [&] { presetValues("P0.0.01", 0, 1); },
         [&] {
             clickCell(showRowOf("P0.0.01"), column::set);
             QTest::keyClick(gui::widgetOf(parameter("P0.0.01").optionKey), Qt::Key_Down);
             pump();
             ASSERT_EQ(parameter("P0.0.01").setValue, 1);
         },
         true},
        {"list opened and closed", [&] { presetValues("P0.0.01", 0, 2); },
         [&] {
             focusSetCell("P0.0.01");
             if (QWidget* popup = QApplication::activePopupWidget())
                 QTest::keyClick(popup, Qt::Key_Escape);
             pump();
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        triggerMenu(cmd::newZr12);
        c.prepare();
        ASSERT_EQ(documentState, 1);
        c.command();
        EXPECT_EQ(documentState, c.changes ? 2 : 1);
        EXPECT_EQ(gui::windowTitle(win::main), c.changes ? "Paramora - *New_Zr12.pmr" : "Paramora - New_Zr12.pmr");
    }
}

}  // namespace
