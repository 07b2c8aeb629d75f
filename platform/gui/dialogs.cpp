#include "platform/gui/dialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStringList>

#include "platform/gui/registry.h"

namespace gui {
namespace {
FileDialogResponder responder;

// The dialog's list gives sizes and dates in Russian like the rest of its texts: Qt would format
// them in the desktop's locale ("4 bytes", "11 Dec"). Only the dialog's display changes; the
// program's own numbers keep their fixed format.
class RussianFileDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        enum Column { Size = 1, Modified = 3 };  // QFileSystemModel's columns
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != Size && index.column() != Modified))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        if (index.column() == Modified)
            return russian.toString(files->lastModified(source), QLocale::ShortFormat);
        return files->isDir(source) ? QString() : russian.formattedDataSize(files->size(source));
    }
};
}  // namespace

void setFileDialogResponder(FileDialogResponder r) { responder = std::move(r); }

std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest& request)
{
    if (responder)
        return responder(request);
    initialise();
    detail::dropHeldInput();  // meant for the windows behind the dialog
    QStringList filters;
    for (const auto& pattern : request.patterns)
        filters << detail::qs(pattern);
    QFileDialog dialog(detail::dialogOwner(), detail::qs(request.title), detail::qs(request.folder));
    // Qt's own dialog, whose texts and formats are the program's, on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new RussianFileDetails(&dialog));
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
