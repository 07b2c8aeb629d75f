#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/gui/registry.h"

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

}  // namespace

void installInputHolderReturn()
{
    QCoreApplication::instance()->installEventFilter(new MinimisedHolderReturns(qApp));
}

}  // namespace gui::detail
