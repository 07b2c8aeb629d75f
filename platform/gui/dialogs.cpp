#include "platform/gui/dialogs.h"

#include <QFileDialog>
#include <QStringList>

#include "platform/gui/registry.h"

namespace gui {
namespace {
FileDialogResponder responder;
}

void setFileDialogResponder(FileDialogResponder r) { responder = std::move(r); }

std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest& request)
{
    if (responder)
        return responder(request);
    initialise();
    QStringList filters;
    for (const auto& pattern : request.patterns)
        filters << detail::qs(pattern);
    QFileDialog dialog(detail::dialogOwner(), detail::qs(request.title), detail::qs(request.folder));
    dialog.setNameFilters(filters);
    if (request.selectedPattern >= 0 && request.selectedPattern < filters.size())
        dialog.selectNameFilter(filters[request.selectedPattern]);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(detail::qs(request.fileName));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogAnswer{detail::str(dialog.selectedFiles().front()),
                            static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

}  // namespace gui
