#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include "platform/gui/registry.h"
#include "platform/gui/x11_atom.h"

namespace gui::detail {
namespace {
// A dialog (or, for a tool window such as the Wait Window, a utility window) is declared as that
// one type and nothing else: Qt's own declaration adds "normal" after it, which a window manager
// may take instead. Every dialog is, owned or not: a message box at start-up comes before any
// window that could own it and is still a dialog. Qt's Motif hints keep the minimise and maximise
// boxes away under the window managers that read them; openbox reads neither from them, and
// offers minimise on every dialog as kwin does.
void declareWindowType(QWidget* window)
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;  // not on X11 (offscreen)
    xcb_connection_t* connection = x11->connection();
    static const xcb_atom_t typeProperty = x11Atom(connection, "_NET_WM_WINDOW_TYPE");
    static const xcb_atom_t dialog = x11Atom(connection, "_NET_WM_WINDOW_TYPE_DIALOG");
    static const xcb_atom_t utility = x11Atom(connection, "_NET_WM_WINDOW_TYPE_UTILITY");
    const xcb_atom_t type = window->windowType() == Qt::Tool ? utility : dialog;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), typeProperty,
                        XCB_ATOM_ATOM, 32, 1, &type);
}

// A top-level widget is shown (and told so) before its window is mapped, which is when the window
// manager reads the type: every dialog, ours and Qt's alike, gets it there.
class DialogWindowTypes : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && (type == Qt::Dialog || type == Qt::Tool))
                declareWindowType(widget);
        }
        return false;
    }
};
}  // namespace

void installDialogWindowTypes() { QCoreApplication::instance()->installEventFilter(new DialogWindowTypes(qApp)); }

}  // namespace gui::detail
