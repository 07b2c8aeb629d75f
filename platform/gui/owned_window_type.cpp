#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "platform/gui/registry.h"

namespace gui::detail {
namespace {
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

struct TypeAtoms {
    xcb_atom_t property, toolbar, dialog, utility;
};

const TypeAtoms& typeAtoms(xcb_connection_t* connection)
{
    static const TypeAtoms atoms{internAtom(connection, "_NET_WM_WINDOW_TYPE"),
                                 internAtom(connection, "_NET_WM_WINDOW_TYPE_TOOLBAR"),
                                 internAtom(connection, "_NET_WM_WINDOW_TYPE_DIALOG"),
                                 internAtom(connection, "_NET_WM_WINDOW_TYPE_UTILITY")};
    return atoms;
}

// A window that another one owns offers no minimise or maximise box: minimised, it would take its
// owner along (window managers minimise a window together with the one it is transient for), and
// on a desktop without a taskbar nothing would bring the program back. Some window managers
// (openbox) ignore the Motif hints Qt sets for the boxes and go by the window type alone, and
// drop both boxes only for toolbar and menu windows. So the window is declared a toolbar first,
// followed by its own type for window managers that take the second.
void declareOwnedWindowType(QWidget* window)
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;  // not on X11 (offscreen)
    xcb_connection_t* connection = x11->connection();
    const TypeAtoms& atoms = typeAtoms(connection);
    const xcb_atom_t types[] = {atoms.toolbar, window->windowType() == Qt::Tool ? atoms.utility : atoms.dialog};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), atoms.property,
                        XCB_ATOM_ATOM, 32, 2, types);
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
