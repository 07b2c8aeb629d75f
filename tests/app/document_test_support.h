#pragma once
// The program driven through its widgets for documents and value editors: editing set values,
// answering file dialogs, reading the log.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <deque>
#include <optional>
#include <string>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/gui.h"
#include "tests/support/app_harness.h"

class DocumentTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        gui::setFileDialogResponder([this](const gui::FileDialogRequest& request) -> std::optional<gui::FileDialogAnswer> {
            dialogs.push_back(request);
            if (dialogAnswers.empty())
                return std::nullopt;
            auto answer = dialogAnswers.front();
            dialogAnswers.pop_front();
            return answer;
        });
    }
    void TearDown() override
    {
        gui::setFileDialogResponder({});
        exportRows.clear();  // program-wide: other tests of this executable expect it empty
        AppTest::TearDown();
    }

    // The next file dialog picks this path (with the pattern selected when it closed); nullopt cancels.
    void answerDialog(const std::string& path, int pattern = 0) { dialogAnswers.push_back(gui::FileDialogAnswer{path, pattern}); }
    void cancelDialog() { dialogAnswers.push_back(std::nullopt); }

    Parameter& parameter(const std::string& code)
    {
        Parameter* p = findParameterByCode(code);
        EXPECT_NE(p, nullptr) << code;
        return *p;
    }

    // Selects the tree item of the parameter's subgroup, so its row is on screen.
    int showRowOf(const std::string& code)
    {
        const std::string prefix = parameter(code).subgroupCode + " - ";
        for (int i = 0; i < gui::treeItemCount(ctl::tree); ++i)
            if (gui::treeItemText(ctl::tree, i).starts_with(prefix)) {
                selectTreeItem(i);
                break;
            }
        return rowOfCode(code);
    }

    // A click on the set cell, then into the editor: coded formats open their value-editor window.
    void focusSetCell(const std::string& code)
    {
        clickCell(showRowOf(code), 3);
        QTest::mouseClick(gui::widgetOf(parameter(code).optionKey), Qt::LeftButton);
        pump();
    }

    void typeSetValue(const std::string& code, const std::string& text)
    {
        const int key = parameter(code).optionKey;
        clickCell(showRowOf(code), 3);
        qobject_cast<QLineEdit*>(gui::widgetOf(key))->selectAll();
        typeInto(key, text);
        pressReturn(key);
    }

    // Picks an entry of a drop-down list with the keyboard, as a user would.
    void chooseEntry(int list, int position)
    {
        QWidget* combo = gui::widgetOf(list);
        ASSERT_NE(combo, nullptr);
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < position; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        pump();
    }

    void clickControl(int id)
    {
        QTest::mouseClick(gui::widgetOf(id), Qt::LeftButton);
        pump();
    }

    std::string logText() { return readFileBytes("Paramora.log"); }

    std::deque<std::optional<gui::FileDialogAnswer>> dialogAnswers;
    std::vector<gui::FileDialogRequest> dialogs;
};
