#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStatusBar>

#include "platform/gui/registry.h"

namespace gui {
using namespace detail;

namespace {
struct MenuState {
    std::map<int, QPointer<QAction>> actions;  // by command number
    std::map<int, QPointer<QMenu>> popups;
    std::vector<QMenu*> building;  // the menu being filled, innermost last
    int buildingWindow = -1;
    int shownPopup = -1;
};
MenuState& menus()
{
    static MenuState state;
    return state;
}

QAction* addAction(QMenu* menu, int window, int command, std::string_view text, bool enabled)
{
    QAction* action = menu->addAction(qs(text));
    action->setEnabled(enabled);
    QObject::connect(action, &QAction::triggered, action, [action, window, command] {
        // A check mark is the program's to set: undo Qt's own toggle of a checkable item.
        if (action->isCheckable()) {
            const QSignalBlocker block(action);
            action->setChecked(!action->isChecked());
        }
        postUserEvent({EventKind::Menu, window, command, EventType::None});
    });
    menus().actions[command] = action;
    return action;
}

QAction* actionOf(int command)
{
    const auto it = menus().actions.find(command);
    return it == menus().actions.end() ? nullptr : it->second.data();
}

QLabel* statusField(int window, int field)
{
    auto* record = findWindow(window);
    if (!record || field < 0 || field >= static_cast<int>(record->statusFields.size()))
        return nullptr;
    return qobject_cast<QLabel*>(record->statusFields[static_cast<std::size_t>(field)]);
}
}  // namespace

void menuBegin(int window, std::string_view caption)
{
    auto& state = menus();
    state.building.clear();
    state.buildingWindow = window;
    auto* record = findWindow(window);
    if (!record || !record->menuBar)
        return;
    state.building.push_back(record->menuBar->addMenu(qs(caption)));
}

void submenuBegin(std::string_view caption)
{
    auto& state = menus();
    if (!state.building.empty())
        state.building.push_back(state.building.back()->addMenu(qs(caption)));
}

void submenuEnd()
{
    auto& state = menus();
    if (state.building.size() > 1)
        state.building.pop_back();
}

void menuItem(int command, std::string_view text, bool enabled)
{
    auto& state = menus();
    if (!state.building.empty())
        addAction(state.building.back(), state.buildingWindow, command, text, enabled);
}

void menuSeparator()
{
    auto& state = menus();
    if (!state.building.empty())
        state.building.back()->addSeparator();
}

void enableMenuItem(int command, bool enabled)
{
    if (QAction* action = actionOf(command); action && action->isEnabled() != enabled)
        action->setEnabled(enabled);
}

bool menuItemEnabled(int command)
{
    QAction* action = actionOf(command);
    return action && action->isEnabled();
}

void checkMenuItem(int command, bool checked)
{
    if (QAction* action = actionOf(command)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

bool menuItemChecked(int command)
{
    QAction* action = actionOf(command);
    return action && action->isChecked();
}

std::string menuItemText(int command)
{
    QAction* action = actionOf(command);
    return action ? str(action->text()) : std::string();
}

void popupCreate(int popup)
{
    auto& state = menus();
    if (auto it = state.popups.find(popup); it != state.popups.end() && it->second)
        delete it->second.data();
    auto* menu = new QMenu;
    QObject::connect(menu, &QMenu::aboutToHide, menu, [popup] {
        if (menus().shownPopup == popup)
            menus().shownPopup = -1;
    });
    state.popups[popup] = menu;
}

void popupItem(int popup, int window, int command, std::string_view text, bool enabled)
{
    auto& state = menus();
    if (auto it = state.popups.find(popup); it != state.popups.end() && it->second)
        addAction(it->second, window, command, text, enabled);
}

void popupSeparator(int popup)
{
    auto& state = menus();
    if (auto it = state.popups.find(popup); it != state.popups.end() && it->second)
        it->second->addSeparator();
}

void popupShow(int popup, int globalX, int globalY)
{
    auto& state = menus();
    auto it = state.popups.find(popup);
    if (it == state.popups.end() || !it->second)
        return;
    state.shownPopup = popup;
    it->second->popup(QPoint(globalX, globalY));
}

int popupShown() { return menus().shownPopup; }

QAction* menuAction(int command) { return actionOf(command); }

void statusFields(int window, const std::vector<StatusField>& fields)
{
    auto* record = findWindow(window);
    if (!record || !record->statusBar)
        return;
    for (const StatusField& style : fields) {
        auto* field = new QLabel(record->statusBar);
        field->setFixedWidth(style.width);
        field->setAlignment(alignmentOf(style.align) | Qt::AlignVCenter);
        if (style.bordered)
            field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        record->statusBar->addWidget(field);
        record->statusFields.push_back(field);
    }
}

void statusText(int window, int field, std::string_view text)
{
    if (QLabel* label = statusField(window, field))
        label->setText(qs(text));
}

std::string statusFieldText(int window, int field)
{
    QLabel* label = statusField(window, field);
    return label ? str(label->text()) : std::string();
}

void statusPicture(int window, int field, const std::uint8_t* rgba, int width, int height)
{
    QLabel* label = statusField(window, field);
    if (!label)
        return;
    if (rgba && width > 0 && height > 0)
        label->setPixmap(QPixmap::fromImage(QImage(rgba, width, height, width * 4, QImage::Format_RGBA8888).copy()));
    else
        label->clear();
}

void statusProgress(int window, int field)
{
    auto* record = findWindow(window);
    QLabel* holder = statusField(window, field);
    if (!record || !holder)
        return;
    auto* bar = new QProgressBar(holder);
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setGeometry(0, 2, holder->width(), 14);
    record->progress = bar;
}

void setProgressRange(int window, int maximum)
{
    if (auto* record = findWindow(window); record && record->progress) {
        // A value still pending belongs to the old range.
        flushPendingProgress();
        record->progress->setRange(0, std::max(maximum, 0));
    }
}

void setProgress(int window, int value)
{
    auto* record = findWindow(window);
    if (!record || !record->progress)
        return;
    // Out of range is ignored, as the bar itself does.
    if (value < record->progress->minimum() || value > record->progress->maximum())
        return;
    record->pendingProgress = value;
}

int progress(int window)
{
    auto* record = findWindow(window);
    if (!record || !record->progress)
        return 0;
    return record->pendingProgress >= 0 ? record->pendingProgress : record->progress->value();
}

namespace detail {
void flushPendingProgress()
{
    for (auto& [number, record] : windows())
        if (record.progress && record.pendingProgress >= 0) {
            // The bar repaints itself only when its fill has moved by a visible step.
            record.progress->setValue(record.pendingProgress);
            record.pendingProgress = -1;
        }
}
}  // namespace detail

}  // namespace gui
