#include "app/save_targets.h"

#include <filesystem>

#include "app/settings_file.h"
#include "platform/gui/message_box.h"
#include "platform/shell/folders.h"

namespace {
constexpr const char* replaceQuestion = "Файл с таким именем уже существует.\nЗаменить его?";
}

void makeDefaultFolderIfMissing(const std::string& folder)
{
    // On a fresh account nothing else makes it, and every save into it would fail.
    if (folder == defaultFilePath() && !shell::folderExists(folder))
        shell::makeFolder(folder);
}

bool replacingAllowed(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(path, error))
        return true;
    return gui::messageBox("Внимание", replaceQuestion, gui::Icon::Question, gui::Buttons::YesNo) == gui::Answer::Yes;
}
