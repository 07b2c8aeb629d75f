#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/gui/registry.h"
#include "platform/gui/x11_atom.h"

namespace gui::detail {
namespace {
struct Atoms {
    xcb_atom_t type, toolbar, dialog, utility, supportingCheck, name, utf8;
};

const Atoms& atoms(xcb_connection_t* connection)
{
    static const Atoms atoms{x11Atom(connection, "_NET_WM_WINDOW_TYPE"),
                             x11Atom(connection, "_NET_WM_WINDOW_TYPE_TOOLBAR"),
                             x11Atom(connection, "_NET_WM_WINDOW_TYPE_DIALOG"),
                             x11Atom(connection, "_NET_WM_WINDOW_TYPE_UTILITY"),
                             x11Atom(connection, "_NET_SUPPORTING_WM_CHECK"),
                             x11Atom(connection, "_NET_WM_NAME"),
                             x11Atom(connection, "UTF8_STRING")};
    return atoms;
}

// The window a property of another window names (0: none).
xcb_window_t windowProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1), nullptr);
    xcb_window_t named = 0;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == sizeof named)
        std::memcpy(&named, xcb_get_property_value(reply), sizeof named);
    std::free(reply);
    return named;
}

// The name the running window manager publishes; empty where none says it runs. The check window
// must name itself too, or it is a stale one that a window manager left behind.
std::string windowManagerName(xcb_connection_t* connection)
{
    const Atoms& a = atoms(connection);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_window_t check = windowProperty(connection, root, a.supportingCheck);
    if (!check || windowProperty(connection, check, a.supportingCheck) != check)
        return {};
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, check, a.name, a.utf8, 0, 64), nullptr);
    std::string name;
    if (reply && reply->format == 8)
        name.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return name;
}

// An owned window is what it is: a dialog, or for a tool window (the Wait Window) a utility
// window, and Qt's Motif hints take the minimise and maximise boxes away under the window managers
// that read them. Openbox ignores those hints and drops both boxes only for toolbar and menu
// windows, so there alone the window is declared a toolbar first (openbox keeps its title bar and
// close box) and its own type second. Declared a toolbar elsewhere, the window would lose its
// frame or its close box.
void declareOwnedWindowType(QWidget* window)
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;  // not on X11 (offscreen)
    xcb_connection_t* connection = x11->connection();
    const Atoms& a = atoms(connection);
    const xcb_atom_t own = window->windowType() == Qt::Tool ? a.utility : a.dialog;
    const xcb_atom_t withToolbar[] = {a.toolbar, own};
    const bool openbox = windowManagerName(connection) == "Openbox";
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), a.type,
                        XCB_ATOM_ATOM, 32, openbox ? 2 : 1, openbox ? withToolbar : &own);
}

// A top-level widget is shown (and told so) before its window is mapped, which is when the window
// manager reads the type: every owned window, ours and Qt's dialogs alike, gets it there.
class OwnedWindowTypes : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && widget->parentWidget() && (type == Qt::Dialog || type == Qt::Tool))
                declareOwnedWindowType(widget);
        }
        return false;
    }
};
}  // namespace

void installOwnedWindowTypes() { QCoreApplication::instance()->installEventFilter(new OwnedWindowTypes(qApp)); }

}  // namespace gui::detail
