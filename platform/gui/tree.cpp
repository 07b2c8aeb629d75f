#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "platform/gui/registry.h"
#include "platform/gui/single_selection.h"

namespace gui {
using namespace detail;

namespace {
// Items in insertion order, so that an item's index is its position in that order.
struct TreeItems {
    std::vector<QTreeWidgetItem*> items;
    std::vector<QTreeWidgetItem*> lastAtLevel;
};
std::map<int, TreeItems>& treeItems()
{
    static std::map<int, TreeItems> all;
    return all;
}

class TreeView : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override
    {
        return neverDeselecting(index, QTreeWidget::selectionCommand(index, event));
    }
};

QTreeWidget* treeWidget(int id)
{
    auto* control = findControl(id);
    return control ? qobject_cast<QTreeWidget*>(control->widget.data()) : nullptr;
}
}  // namespace

void tree(int window, int id, Rect r)
{
    auto* widget = new TreeView(parentWidgetFor(window, -1));
    widget->setHeaderHidden(true);
    widget->setRootIsDecorated(true);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    addControl(window, id, ControlKind::Tree, r, widget);
    treeItems()[id] = {};
    // Selections made by the program are made under a signal blocker: this reports only the user's.
    QObject::connect(widget, &QTreeWidget::itemSelectionChanged, widget,
                     [window, id] { raiseControlEvent(window, id, EventType::Change); });
}

void treeClear(int id)
{
    auto* widget = treeWidget(id);
    if (!widget)
        return;
    const QSignalBlocker block(widget);
    widget->clear();
    treeItems()[id] = {};
}

int treeAddItem(int id, int level, std::string_view text, Rgb background)
{
    auto* widget = treeWidget(id);
    if (!widget)
        return -1;
    auto& state = treeItems()[id];
    QTreeWidgetItem* parent = level > 0 && static_cast<int>(state.lastAtLevel.size()) >= level
                                  ? state.lastAtLevel[static_cast<std::size_t>(level - 1)]
                                  : nullptr;
    const QSignalBlocker block(widget);
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(widget);
    item->setText(0, qs(text));
    if (!background.isNone)
        item->setBackground(0, QColor(background.r, background.g, background.b));
    state.items.push_back(item);
    state.lastAtLevel.resize(static_cast<std::size_t>(level) + 1);
    state.lastAtLevel[static_cast<std::size_t>(level)] = item;
    return static_cast<int>(state.items.size()) - 1;
}

void treeExpandAll(int id)
{
    if (auto* widget = treeWidget(id)) {
        const QSignalBlocker block(widget);
        widget->expandAll();
    }
}

void treeSelect(int id, int index)
{
    auto* widget = treeWidget(id);
    if (!widget)
        return;
    const auto& items = treeItems()[id].items;
    const QSignalBlocker block(widget);
    if (index >= 0 && index < static_cast<int>(items.size()))
        widget->setCurrentItem(items[static_cast<std::size_t>(index)]);
    else
        widget->clearSelection();
}

int treeSelected(int id)
{
    auto* widget = treeWidget(id);
    if (!widget)
        return -1;
    const auto selected = widget->selectedItems();
    if (selected.isEmpty())
        return -1;
    const auto& items = treeItems()[id].items;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == selected.front())
            return static_cast<int>(i);
    return -1;
}

std::string treeItemText(int id, int index)
{
    const auto& items = treeItems()[id].items;
    if (!treeWidget(id) || index < 0 || index >= static_cast<int>(items.size()))
        return {};
    return str(items[static_cast<std::size_t>(index)]->text(0));
}

int treeItemCount(int id) { return treeWidget(id) ? static_cast<int>(treeItems()[id].items.size()) : 0; }

}  // namespace gui
