// The user's input is taken one command at a time: input that comes while a command the user gave
// still waits to be taken (a click after another one while the program was busy) reaches the
// windows only once the program has taken that command and is back for more. It then meets the
// windows as that command left them, so a click on a control the command disabled or hid does
// nothing, and the control keeps its state.
//
// Qt leaves input unread while the program repaints during a long command, but one call that
// takes input delivers all it has read: what comes after the input that gave a command is held
// here, at the window it was given to, and given to that window again later.

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

#include "platform/gui/registry.h"

namespace gui::detail {
namespace {

struct HeldInput {
    QPointer<QWindow> window;
    QEvent::Type type;
    std::function<void(QWindow*)> deliver;
    bool makesDoubleClick = false;  // a press the double click after it stands for
};

std::deque<HeldInput>& heldInput()
{
    static std::deque<HeldInput> held;
    return held;
}

bool replaying = false;
// Qt marks the press that makes a double click, and the window takes it in (it becomes the button
// held down) without passing it on to the control: a press made afresh has no mark, so the control
// is kept from seeing it here.
bool keepPressFromControl = false;

// As the window system delivers it (sendEvent would make it the program's own).
void deliver(QWindow* window, QEvent* event) { QCoreApplication::instance()->notify(window, event); }

// Mouse and wheel events share their point with the device's current one, which later input moves
// on: their values are kept and the event is made afresh for the window. A key event is its own.
std::function<void(QWindow*)> deliveryOf(const QInputEvent* event)
{
    const QEvent::Type type = event->type();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const quint64 timestamp = event->timestamp();
    if (type == QEvent::Wheel) {
        const auto* wheel = static_cast<const QWheelEvent*>(event);
        const QPointingDevice* device = wheel->pointingDevice();
        const QPointF position = wheel->position(), global = wheel->globalPosition();
        const QPoint pixels = wheel->pixelDelta(), angle = wheel->angleDelta();
        const Qt::MouseButtons buttons = wheel->buttons();
        const Qt::ScrollPhase phase = wheel->phase();
        const bool inverted = wheel->inverted();
        const Qt::MouseEventSource source = wheel->source();
        return [=](QWindow* window) {
            QWheelEvent again(position, global, pixels, angle, buttons, modifiers, phase, inverted, source, device);
            again.setTimestamp(timestamp);
            deliver(window, &again);
        };
    }
    if (const auto* mouse = dynamic_cast<const QMouseEvent*>(event)) {
        const QPointF position = mouse->position(), scene = mouse->scenePosition(), global = mouse->globalPosition();
        const QPointingDevice* device = mouse->pointingDevice();
        const Qt::MouseButton button = mouse->button();
        const Qt::MouseButtons buttons = mouse->buttons();
        return [=](QWindow* window) {
            QMouseEvent again(type, position, scene, global, button, buttons, modifiers, device);
            again.setTimestamp(timestamp);
            deliver(window, &again);
        };
    }
    std::shared_ptr<QEvent> key(event->clone());
    return [key](QWindow* window) { deliver(window, key.get()); };
}

// What the window system gives a window of the user's own doing. A touch screen or a tablet comes
// as mouse events, as no control of ours takes their own.
bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

// Input goes to the window the window system gave it to, which then finds the control under the
// cursor or with the keyboard; held, it waits there, and anything that comes after it waits behind
// it. A question box (a modal dialog) takes its answer at once: the program is inside a command,
// waiting for it.
class InputHold : public QObject {
protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (keepPressFromControl && event->type() == QEvent::MouseButtonPress && receiver->isWidgetType()) {
            keepPressFromControl = false;
            return true;
        }
        if (replaying || !receiver->isWindowType() || !isUserInput(event->type()) || QApplication::activeModalWidget())
            return false;
        auto& held = heldInput();
        if (held.empty() && !userEventPending())
            return false;
        if (event->type() == QEvent::MouseButtonDblClick) {
            const auto press = std::find_if(held.rbegin(), held.rend(),
                                            [](const HeldInput& h) { return h.type == QEvent::MouseButtonPress; });
            if (press != held.rend())
                press->makesDoubleClick = true;
        }
        held.push_back({static_cast<QWindow*>(receiver), event->type(), deliveryOf(static_cast<QInputEvent*>(event))});
        return true;
    }
};

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
        keepPressFromControl = next.makesDoubleClick;
        next.deliver(next.window);
        replaying = keepPressFromControl = false;
    }
}

bool inputHeld() { return !heldInput().empty(); }

void dropHeldInput() { heldInput().clear(); }

}  // namespace gui::detail
