#include <QApplication>
#include <QEventLoop>
#include <QFont>
#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <deque>
#include <fcntl.h>
#include <unistd.h>

#include "platform/clock/clock.h"
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
    auto* app = new QApplication(argc, argv);
    // Sizes and positions are given in pixels for the small default font of the original
    // desktop; a larger one would not fit the labels and columns.
    QFont font = QApplication::font();
    font.setPointSize(8);
    QApplication::setFont(font);
    return app;
}
}  // namespace

void initialise() { application(); }

void postEvent(const Event& event) { queue.push_back(event); }

void clearEventQueue() { queue.clear(); }

Event waitEvent()
{
    initialise();
    detail::flushPendingScreenWork();
    while (queue.empty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Event event = queue.front();
    queue.pop_front();
    return event;
}

Event pollEvent()
{
    initialise();
    detail::flushPendingScreenWork();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (queue.empty())
        return {};
    Event event = queue.front();
    queue.pop_front();
    return event;
}

namespace {
int terminationPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(terminationPipe[1], &byte, 1);
}
}  // namespace

// The signal handler only writes to a pipe; the event is queued from the loop, where it is safe.
void postOnTerminationRequest(const Event& event)
{
    initialise();
    if (terminationPipe[0] >= 0 || ::pipe2(terminationPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [event] {
        char bytes[16];
        while (::read(terminationPipe[0], bytes, sizeof bytes) > 0) {
        }
        postEvent(event);
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

void repaintWithoutInput()
{
    // A screen shows a change within a frame or two; painting more often only costs time. Where
    // a frame is slow to paint (a busy machine or X server), frames are spaced further apart, so
    // that painting takes at most a twentieth of a long command's time. A frame is done in two
    // calls, each short enough to fit a pause: the changes go into the widgets, then the windows
    // paint them.
    constexpr std::int64_t frameUs = 40000, longestUs = 200000, shareOfTime = 20;
    static std::int64_t frameStart = 0, frameCost = 0, nextFrame = 0;
    static bool paintDue = false;
    if (!QCoreApplication::instance())
        return;
    const std::int64_t start = sysclock::microseconds();
    if (paintDue) {
        paintDue = false;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        frameCost += sysclock::microseconds() - start;
        nextFrame = frameStart + std::clamp(shareOfTime * frameCost, frameUs, longestUs);
        return;
    }
    if (start < nextFrame)
        return;
    detail::flushPendingScreenWork(true);
    frameStart = start;
    frameCost = sysclock::microseconds() - start;
    paintDue = true;
}

namespace detail {
void flushPendingScreenWork(bool shownOnly)
{
    flushPendingLines(-1, shownOnly);
    flushPendingProgress();
}

void raiseControlEvent(int window, int id, EventType type)
{
    postEvent({EventKind::Control, window, id, type});
}
}  // namespace detail

}  // namespace gui
