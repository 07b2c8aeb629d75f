// The user's input is taken one command at a time: input that comes while a command the user gave
// still waits to be taken (a click after another one while the program was busy) reaches the
// windows only once the program has taken that command and is back for more. It then meets the
// windows as that command left them, so a click on a control the command disabled or hid does
// nothing, and the control keeps its state.
//
// Qt leaves input unread while the program repaints during a long command, but one call that
// takes input delivers all it has read: what comes after the input that gave a command is held
// here, at the window it was given to, and given to that window again later, where Qt sends it on
// as it would the live event (to a drop-down that holds the keyboard and the mouse by then). A
// close the window manager asks for, a new size it gives, and text an input method gives wait in
// the same line.

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
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
// on: their values are kept and the event is made afresh for the window. A key event or a close is
// its own; an input method's text goes to whatever has the keyboard then, as it would have live.
std::function<void(QWindow*)> deliveryOf(const QEvent* given)
{
    const QEvent::Type type = given->type();
    if (type != QEvent::Wheel && !dynamic_cast<const QMouseEvent*>(given)) {
        std::shared_ptr<QEvent> own(given->clone());
        if (type == QEvent::InputMethod)
            return [own](QWindow*) {
                if (QObject* focus = QGuiApplication::focusObject())
                    QCoreApplication::sendEvent(focus, own.get());
            };
        return [own](QWindow* window) { deliver(window, own.get()); };
    }
    const auto* event = static_cast<const QInputEvent*>(given);
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
    const auto* mouse = static_cast<const QMouseEvent*>(event);
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

// What the window system gives a window of the user's own doing. A touch screen or a tablet comes
// as mouse events, as no control of ours takes their own. Before a key press, Qt asks the window
// whether the key is a shortcut (a drop-down takes Return that way); the program has no shortcuts
// of its own, so the question waits with the key and nothing is done by it meanwhile.
bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// An input method gives its text to whatever has the keyboard; everything else comes to a window.
// (Qt passes a window's events on to its widgets, which are then no longer the user's.)
bool isGivenByTheWindowSystem(const QObject* receiver, QEvent::Type type)
{
    return type == QEvent::InputMethod || receiver->isWindowType();
}

QWindow* windowOf(QObject* receiver)
{
    if (receiver->isWindowType())
        return static_cast<QWindow*>(receiver);
    return static_cast<QWidget*>(receiver)->window()->windowHandle();
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
        if (replaying || !isUserInput(event->type()) || !isGivenByTheWindowSystem(receiver, event->type()) ||
            QApplication::activeModalWidget())
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
        held.push_back({windowOf(receiver), event->type(), deliveryOf(event)});
        // A held close has closed nothing yet; a key held is no shortcut, and waits as the window's.
        if (event->type() == QEvent::Close)
            event->ignore();
        else if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        return true;
    }
};

}  // namespace

void installInputHold() { QCoreApplication::instance()->installEventFilter(new InputHold); }

void replayHeldInput()
{
    auto& held = heldInput();
    while (!held.empty() && !userEventPending()) {
        // The live event would have found done what the program left to Qt (rows a table shows
        // through a queued call, layouts, a repaint): the program was back waiting for it. Only
        // that posted work is done here: what the window system gave since (a change of focus,
        // a crossing) and timers come after the held input, as they came after it live, and
        // never between a held press and its release.
        QCoreApplication::sendPostedEvents();
        if (userEventPending())
            break;
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

// What the program does on a change the window system made stays to be done: only input goes.
void dropHeldInput() { std::erase_if(heldInput(), [](const HeldInput& h) { return h.type != QEvent::Resize; }); }

bool takeTurnBehindInput(QWindow* window, std::function<void()> act)
{
    auto& held = heldInput();
    if (replaying || (held.empty() && !userEventPending()))
        return false;
    held.push_back({window, QEvent::Resize, [act = std::move(act)](QWindow*) { act(); }});
    return true;
}

}  // namespace gui::detail
