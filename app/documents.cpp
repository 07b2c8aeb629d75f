#include "app/documents.h"

#include <array>

#include "app/in_place_editors.h"
#include "app/loader_table.h"
#include "app/main_window.h"
#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "description/value_text.h"
#include "platform/gui/message_box.h"

namespace {
struct DocumentModel {
    const char* name;
    const char* fileName;
    int loaderIndex;  // -1: a model the program has no description of
};

constexpr std::array<DocumentModel, 10> documentModels = {{
    {"ПЧ Tovik Zr12", "New_Zr12.pmr", 0},
    {"ПЧ Halmer Zr24", "New_Zr24.pmr", 1},
    {"ПЧ Tovik Zr36", "New_Zr36.pmr", -1},
    {"ПЧ Tovik Zr48", "New_Zr48.pmr", 2},
    {"ПЧ Tovik Zr48X", "New_Zr48X.pmr", 3},
    {"ПЧ Tovik Yv20", "New_Yv20.pmr", 4},
    {"ПЧ Tovik Yv32", "New_Yv32.pmr", 5},
    {"ПЧ Tovik Yv33", "New_Yv33.pmr", 6},
    {"ПЧ Halmer Wq16", "New_Wq16.pmr", -1},
    {"УПП Tovik Jx9", "New_Jx9.pmr", 7},
}};

bool describedDocument = false;
}  // namespace

bool documentHasDescription() { return describedDocument; }

bool saveQuestionAllowsToGoOn(const char* question)
{
    if (documentState != 2)
        return true;
    if (gui::messageBox("Внимание", question, gui::Icon::Question, gui::Buttons::YesNo) != gui::Answer::Yes)
        return true;
    return saveParameterFile();
}

std::uint16_t newDocument(std::string_view modelName)
{
    if (!saveQuestionAllowsToGoOn(unsavedQuestion))
        return 0;
    if (connectedPort != 0 && modelName != currentModelName && documentState != 0) {
        gui::messageBox("Ошибка",
                        "Невозможно создать новый файл\nВы подключены к оборудованию и его тип\n"
                        "не совпадает с типом оборудования нового файла",
                        gui::Icon::Error);
        return 10;
    }
    const DocumentModel* model = nullptr;
    for (const auto& m : documentModels)
        if (modelName == m.name)
            model = &m;
    // An unknown name leaves the open document as it was.
    if (!model)
        return 4;

    showWaitWindow(true);
    hideCurrentEditor();
    clearDeviceDescription();
    currentFileName = model->fileName;
    currentFilePath.clear();
    describedDocument = model->loaderIndex >= 0;
    if (describedDocument)
        loaderTable[static_cast<std::size_t>(model->loaderIndex)].loader();
    initialValuesFromDefaults();
    buildParameterTree();
    createInPlaceEditors();
    refreshTableForTree();
    showWaitWindow(false);
    gui::statusText(win::main, 1, currentModelName);
    documentState = 1;
    return 1;
}
