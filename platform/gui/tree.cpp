#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>

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

    // A key without the window system's time (sent by the program or a test) is timed as handled.
    void keyPressEvent(QKeyEvent* event) override
    {
        keyTime_ = event->timestamp() != 0 ? event->timestamp() : static_cast<quint64>(handledClock_.elapsed() + 1);
        QTreeWidget::keyPressEvent(event);
    }

    // Typing an item's name selects the next shown item it begins, the name going on while each
    // key follows the one before within the interval by the times the keys were typed: keys given
    // late, once the program has handled what the key before them selected, were still typed as one
    // name. (Qt's own search times the keys by when they are handled.) A name of one letter
    // repeated steps through the items that begin with it.
    void keyboardSearch(const QString& search) override
    {
        if (search.isEmpty() || !topLevelItem(0))
            return;
        const auto interval = static_cast<quint64>(std::max(QApplication::keyboardInputInterval(), 0));
        const bool goesOn = searchKeyTime_ != 0 && keyTime_ >= searchKeyTime_ && keyTime_ - searchKeyTime_ <= interval;
        searchKeyTime_ = keyTime_;
        searchText_ = goesOn ? searchText_ + search : search;
        const bool oneLetter = searchText_.count(searchText_.front()) == searchText_.size();
        const QString wanted = oneLetter ? QString(searchText_.front()) : searchText_;
        // A new name, or one letter again, looks from the item after the current one; a longer
        // name keeps the current item where it still fits.
        QTreeWidgetItem* item = currentItem();
        if (!item)
            item = topLevelItem(0);
        else if (!goesOn || oneLetter)
            item = shownAfter(item);
        for (int left = shownItemCount(); left > 0; --left, item = shownAfter(item)) {
            if ((item->flags() & Qt::ItemIsEnabled) && item->text(0).startsWith(wanted, Qt::CaseInsensitive)) {
                setCurrentItem(item);
                return;
            }
        }
    }

private:
    QTreeWidgetItem* shownAfter(QTreeWidgetItem* item) const
    {
        QTreeWidgetItem* below = itemBelow(item);
        return below ? below : topLevelItem(0);
    }

    int shownItemCount() const
    {
        int count = 0;
        for (QTreeWidgetItem* item = topLevelItem(0); item; item = itemBelow(item))
            ++count;
        return count;
    }

    QElapsedTimer handledClock_ = [] {
        QElapsedTimer clock;
        clock.start();
        return clock;
    }();
    quint64 keyTime_ = 0;        // the time of the key being handled, in ms
    quint64 searchKeyTime_ = 0;  // the time of the last key that searched
    QString searchText_;
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
