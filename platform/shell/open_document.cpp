#include "platform/shell/open_document.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace shell {
namespace {
std::function<void(const std::string&)> responder;
}

void setOpenDocumentResponder(std::function<void(const std::string&)> r) { responder = std::move(r); }

void openDocument(const std::string& path)
{
    if (responder) {
        responder(path);
        return;
    }
    const QString file = QString::fromStdString(path);
    if (QFileInfo::exists(file))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
}

}  // namespace shell
