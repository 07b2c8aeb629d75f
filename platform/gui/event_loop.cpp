#include <QApplication>
#include <QEventLoop>

#include <deque>

#include "platform/gui/registry.h"

namespace gui {
namespace {
std::deque<Event> queue;

QApplication* application()
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return app;
    static int argc = 1;
    static char name[] = "paramora";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
}
}  // namespace

void initialise() { application(); }

void postEvent(const Event& event) { queue.push_back(event); }

void clearEventQueue() { queue.clear(); }

Event waitEvent()
{
    initialise();
    while (queue.empty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Event event = queue.front();
    queue.pop_front();
    return event;
}

Event pollEvent()
{
    initialise();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (queue.empty())
        return {};
    Event event = queue.front();
    queue.pop_front();
    return event;
}

void repaintWithoutInput()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

namespace detail {
void raiseControlEvent(int window, int id, EventType type)
{
    postEvent({EventKind::Control, window, id, type});
}
}  // namespace detail

}  // namespace gui
