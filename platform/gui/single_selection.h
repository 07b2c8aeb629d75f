#pragma once
// Internal: the views that hold one selected item (the tree, the table's highlighted row).

#include <QItemSelectionModel>

namespace gui::detail {

// The user moves the selection from item to item but never takes it away: Qt would drop it on a
// click below the last item, and deselect the selected item on Ctrl with a click or Ctrl+Space.
inline QItemSelectionModel::SelectionFlags neverDeselecting(const QModelIndex& index,
                                                            QItemSelectionModel::SelectionFlags command)
{
    if (!index.isValid() || (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return QItemSelectionModel::NoUpdate;
    if ((command & QItemSelectionModel::Clear) && !(command & QItemSelectionModel::Select))
        return QItemSelectionModel::NoUpdate;
    return command;
}

}  // namespace gui::detail
