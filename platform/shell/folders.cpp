#include "platform/shell/folders.h"

#include <QStandardPaths>
#include <QString>

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

}  // namespace shell
