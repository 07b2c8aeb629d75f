#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>


#include "platform/gui/registry.h"
#include "platform/gui/x11_atom.h"

namespace gui::detail {
namespace {
// A window the user waits for, minimised on its own (window managers that offer minimise on a
// dialog, or that minimise a modal dialog's owner with it), comes straight back while the window
// waiting for it stays on the screen: where a modal dialog keeps the window manager from
// activating that window, nothing else would bring it back. Minimising the waiting window takes
// them all away, and that stays so; as a window manager minimises a window and the windows it
// owns one after the other, the check waits until the events at hand are in.
class MinimisedHolderReturns : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::WindowStateChange || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->parentWidget() && widget->isMinimized())
            QTimer::singleShot(0, qApp, [window = QPointer<QWidget>(widget)] {
                if (window && window->isMinimized())
                    bringBackIfWaitedFor(window);
            });
        return false;
    }
};

// A window manager that gives a window the focus tells it the time of the user's action (the
// click) in a WM_TAKE_FOCUS message, which may reach Qt after the window's activation, and may
// give the focus more than once for one click (metacity on a title bar): an activation the
// disabled window handed on in between is undone, and one asked for with an earlier time is
// refused. So each such message to a disabled window hands the activation on again, once Qt has
// taken its time in. (Qt itself hands such a window's focus to a modal dialog with that time.)
class FocusTimeHandOff : public QAbstractNativeEventFilter {
public:
    explicit FocusTimeHandOff(xcb_connection_t* connection)
        : protocols_(x11Atom(connection, "WM_PROTOCOLS")), takeFocus_(x11Atom(connection, "WM_TAKE_FOCUS"))
    {
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (client->type != protocols_ || client->data.data32[0] != takeFocus_)
            return false;
        for (const auto& [number, record] : windows())
            if (record.widget && record.widget->internalWinId() == client->window) {
                if (!record.enabled)
                    QTimer::singleShot(0, qApp, [number = number] { activateInputHolder(number, true); });
                break;
            }
        return false;
    }

private:
    xcb_atom_t protocols_, takeFocus_;
};
}  // namespace

void installInputHolderReturn()
{
    QCoreApplication::instance()->installEventFilter(new MinimisedHolderReturns(qApp));
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection())
        QCoreApplication::instance()->installNativeEventFilter(new FocusTimeHandOff(x11->connection()));
}

}  // namespace gui::detail
