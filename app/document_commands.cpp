#include "app/document_commands.h"

#include <string>

#include "app/csv_export.h"
#include "app/documents.h"
#include "app/file_names.h"
#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/main_window.h"
#include "app/parameter_file.h"
#include "app/program_shell.h"
#include "app/program_state.h"
#include "app/save_targets.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/message_box.h"

namespace {

constexpr int allFilesPattern = 1;

const char* openFailureText(std::uint16_t result)
{
    switch (result) {
    case openResult::noModel: return "Неверный формат файла!\rФайл конфигурации не содержит модели оборудования.";
    case openResult::unknownModel: return "Неверный формат файла!\rМодель оборудования не соответствует ни одному наименованию.";
    case openResult::noGeneralGroup: return "Неверный формат файла!\rОтсутствует группа General";
    case openResult::noGroupListing: return "Неверный формат файла!\rНет ни одной группы";
    default: return nullptr;
    }
}

void openCommand()
{
    const std::uint16_t result = openParameterFile();
    if (const char* text = openFailureText(result))
        gui::messageBox("Ошибка", text, gui::Icon::Error);
    logLine(tagFileOpen + std::to_string(result));
    showWaitWindow(false);
}

void saveAsCommand();

void saveCommand()
{
    logLine(tagFileSave);
    // Written back, a document without a description would leave its file without the values it
    // could not take: it goes to a file the user names instead.
    if (!documentHasDescription()) {
        saveAsCommand();
        return;
    }
    saveParameterFile();
}

void saveAsCommand()
{
    logLine(tagFileSaveAs);
    gui::FileDialogRequest request;
    request.save = true;
    request.title = "Сохранить файл конфигурации";
    request.folder = FilePath;
    request.fileName = currentFileName;
    request.patterns = {"Paramora (*.pmr)", "Все файлы (*)"};
    request.selectedPattern = 0;
    makeDefaultFolderIfMissing(FilePath);
    const auto answer = gui::fileDialog(request);
    if (!answer)
        return;
    const std::string name = answer->selectedPattern == allFilesPattern ? fileNamePart(answer->path)
                                                                       : fileNameWithExtension(answer->path, "pmr");
    const std::string folder = folderPart(answer->path);
    // The dialog asks nothing (the extension comes only now); the names and the folder change
    // only with a file that was written.
    if (!replacingAllowed(folder + name) || !writeParameterFile(folder + name))
        return;
    currentFileName = name;
    currentFilePath = folder + name;
    FilePath = folder;
    captureWindowLayout();
    saveSettings();
}

}  // namespace

bool documentCommand(int command)
{
    switch (command) {
    case cmd::fileOpen: openCommand(); return true;
    case cmd::fileSave: saveCommand(); return true;
    case cmd::fileSaveAs: saveAsCommand(); return true;
    case cmd::exportCsv: exportCsv(); return true;
    case cmd::copyRowToClipboard: copyRowToClipboard(); return true;
    case cmd::copyAllToClipboard: copyAllToClipboard(); return true;
    default: return false;
    }
}
