#include "app/save_targets.h"

#include <filesystem>

#include "platform/gui/message_box.h"

namespace {
constexpr const char* replaceQuestion = "Файл с таким именем уже существует.\nЗаменить его?";
}

bool replacingAllowed(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(path, error))
        return true;
    return gui::messageBox("Внимание", replaceQuestion, gui::Icon::Question, gui::Buttons::YesNo) == gui::Answer::Yes;
}
