#include "platform/shell/folders.h"

#include <QStandardPaths>
#include <QString>

#include <filesystem>

#include <dirent.h>

namespace shell {

std::string documentsFolder()
{
    std::string folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

bool folderExists(const std::string& path)
{
    if (path.empty())
        return false;
    DIR* listing = opendir(path.c_str());
    if (!listing)
        return false;
    closedir(listing);
    return true;
}

bool makeFolder(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return !error && folderExists(path);
}

}  // namespace shell
