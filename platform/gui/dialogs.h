#pragma once
// Open and save file dialogs of the window layer. Tests install a responder that answers instead
// of the user.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace gui {

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string folder;    // start folder
    std::string fileName;  // proposed name (save)
    std::vector<std::string> patterns;  // "Label (*.ext)"
    int selectedPattern = 0;
};

struct FileDialogAnswer {
    std::string path;
    int selectedPattern = 0;  // the pattern chosen when the dialog closed
};

// nullopt when the user cancels. No suffix is added and no overwrite question is asked here:
// the caller decides both.
std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest& request);

using FileDialogResponder = std::function<std::optional<FileDialogAnswer>(const FileDialogRequest&)>;
void setFileDialogResponder(FileDialogResponder responder);

}  // namespace gui
