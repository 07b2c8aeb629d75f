// The user's input is taken one command at a time: input that comes while a command the user gave
// still waits to be taken (a click after another one while the program was busy) reaches the
// windows only once the program has taken that command and is back for more. It then meets the
// windows as that command left them, so a click on a control the command disabled or hid does
// nothing, and the control keeps its state. The events themselves are judged again as the program
// takes them.

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

#include "platform/gui/registry.h"

namespace gui::detail {
namespace {

// A piece of input waiting for its window: it reaches the window again as the window system would
// give it.
struct HeldInput {
    QPointer<QWindow> window;
    QEvent::Type type;
    std::function<void(QWindow*)> deliver;
};

std::deque<HeldInput>& heldInput()
{
    static std::deque<HeldInput> held;
    return held;
}

bool replaying = false;

// Mouse events share their point with the device's current one, which later input moves on: the
// values are kept and the event is made afresh for the window. (A turn of the wheel only scrolls
// and is never held.)
std::function<void(QWindow*)> deliveryOf(const QEvent* event)
{
    if (const auto* mouse = dynamic_cast<const QMouseEvent*>(event)) {
        const QEvent::Type type = mouse->type();
        const QPointF position = mouse->position(), scene = mouse->scenePosition(), global = mouse->globalPosition();
        const Qt::MouseButton button = mouse->button();
        const Qt::MouseButtons buttons = mouse->buttons();
        const Qt::KeyboardModifiers modifiers = mouse->modifiers();
        const QPointingDevice* device = mouse->pointingDevice();
        const quint64 timestamp = mouse->timestamp();
        return [=](QWindow* window) {
            QMouseEvent again(type, position, scene, global, button, buttons, modifiers, device);
            again.setTimestamp(timestamp);
            QCoreApplication::instance()->notify(window, &again);
        };
    }
    std::shared_ptr<QEvent> key(event->clone());
    // As the window system delivers it (sendEvent would make it the program's own).
    return [key](QWindow* window) { QCoreApplication::instance()->notify(window, key.get()); };
}

bool isHeldInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

// Input goes to the window the window system gave it to, which then finds the control under the
// cursor or with the keyboard; held, it waits there. A question box (a modal dialog) takes its
// answer at once: the program is inside a command, waiting for it.
class InputHold : public QObject {
protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (replaying || !receiver->isWindowType() || !isHeldInput(event->type()) || QApplication::activeModalWidget())
            return false;
        auto& held = heldInput();
        if (held.empty() && !userEventPending())
            return false;
        // The press that makes a double click is not delivered itself: the double click stands for it.
        if (event->type() == QEvent::MouseButtonDblClick) {
            const auto press = std::find_if(held.rbegin(), held.rend(),
                                            [](const HeldInput& h) { return h.type == QEvent::MouseButtonPress; });
            if (press != held.rend())
                held.erase(std::next(press).base());
        }
        held.push_back({static_cast<QWindow*>(receiver), event->type(), deliveryOf(event)});
        return true;
    }
};

bool windowTakesInput(int window)
{
    const WindowRecord* record = findWindow(window);
    return record && record->enabled && record->widget->isVisible();
}

}  // namespace

void installInputHold() { QCoreApplication::instance()->installEventFilter(new InputHold); }

void replayHeldInput()
{
    auto& held = heldInput();
    while (!held.empty() && !userEventPending()) {
        HeldInput next = std::move(held.front());
        held.pop_front();
        // A window hidden meanwhile would have been given nothing.
        if (!next.window || !next.window->isVisible())
            continue;
        replaying = true;
        next.deliver(next.window);
        replaying = false;
    }
}

void dropHeldInput() { heldInput().clear(); }

bool stillTakesInput(const Event& event)
{
    switch (event.kind) {
    case EventKind::Menu: {
        const QAction* action = menuAction(event.id);
        return action && action->isEnabled() && action->isVisible() && windowTakesInput(event.window);
    }
    case EventKind::Control: {
        const ControlRecord* control = findControl(event.id);
        return control && control->enabled && control->widget && control->widget->isVisible() &&
               control->widget->isEnabled() && windowTakesInput(control->window);
    }
    case EventKind::Close:
        return windowTakesInput(event.window);
    default:
        return true;
    }
}

}  // namespace gui::detail
