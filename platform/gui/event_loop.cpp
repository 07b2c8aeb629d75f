#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <unistd.h>

#include "platform/clock/clock.h"
#include "platform/gui/registry.h"

namespace gui {
namespace {
struct QueuedEvent {
    Event event;
    bool fromUser = false;
};
std::deque<QueuedEvent> queue;

// A request to end (a signal) is queued as an event; until the loop comes back for the next event
// after handling it, a second request ends the process at once.
enum class Termination { None, Queued, Handling };
Termination termination = Termination::None;
Event terminationEvent;
std::function<void()> releaseBeforeEnd;

bool isTerminationEvent(const Event& e)
{
    return e.kind == terminationEvent.kind && e.window == terminationEvent.window && e.id == terminationEvent.id &&
           e.type == terminationEvent.type;
}

// The loop is back for another event: a termination event it took has been handled.
void loopIsBack()
{
    if (termination == Termination::Handling)
        termination = Termination::None;
}

bool windowTakesInput(int window)
{
    const detail::WindowRecord* record = detail::findWindow(window);
    return record && record->enabled && record->widget->isVisible();
}

// The control, menu item or window a user's event is for is still shown and enabled.
bool stillTakesInput(const Event& event)
{
    switch (event.kind) {
    case EventKind::Menu: {
        const QAction* action = menuAction(event.id);
        return action && action->isEnabled() && action->isVisible() && windowTakesInput(event.window);
    }
    case EventKind::Control: {
        const detail::ControlRecord* control = detail::findControl(event.id);
        return control && control->enabled && control->widget && control->widget->isVisible() &&
               control->widget->isEnabled() && windowTakesInput(control->window);
    }
    case EventKind::Close:
        return windowTakesInput(event.window);
    default:
        return true;
    }
}

// The next event that still applies: one of the user's is dropped when what it is for was disabled
// or hidden since, as a click on a disabled control does nothing.
bool takeQueuedEvent(Event& taken)
{
    while (!queue.empty()) {
        const QueuedEvent next = queue.front();
        queue.pop_front();
        if (next.fromUser && !stillTakesInput(next.event))
            continue;
        if (termination == Termination::Queued && isTerminationEvent(next.event))
            termination = Termination::Handling;
        taken = next.event;
        return true;
    }
    return false;
}

QApplication* application()
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return app;
    static int argc = 1;
    static char name[] = "paramora";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);
    // Qt has just taken the desktop's locale for the C library too; numbers the program reads and
    // writes keep the point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    detail::applyProgramFont();
    detail::installQtTranslations();
    detail::installDialogWindowTypes();
    detail::installInputHold();
    detail::installInputHolderReturn();
    return app;
}
}  // namespace

void initialise() { application(); }

void postEvent(const Event& event) { queue.push_back({event, false}); }

void clearEventQueue()
{
    queue.clear();
    detail::dropHeldInput();
}

namespace {
// The next event, held input given on as far as no user's event is ahead of it. Held input never
// waits for more input: an event dropped when taken lets it go on at once.
bool nextEvent(Event& event)
{
    for (;;) {
        detail::replayHeldInput();
        if (takeQueuedEvent(event))
            return true;
        if (!detail::inputHeld())
            return false;
    }
}
}  // namespace

Event waitEvent()
{
    initialise();
    loopIsBack();
    detail::flushPendingScreenWork();
    Event event;
    while (!nextEvent(event))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return event;
}

Event pollEvent()
{
    initialise();
    loopIsBack();
    detail::flushPendingScreenWork();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    Event event;
    return nextEvent(event) ? event : Event{};
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
// The pipe is also read inside a modal question's own loop, which is how a second request gets
// past a question the first one asked.
void postOnTerminationRequest(const Event& event, std::function<void()> release)
{
    initialise();
    if (terminationPipe[0] >= 0 || ::pipe2(terminationPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    terminationEvent = event;
    releaseBeforeEnd = std::move(release);
    auto* notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        ssize_t count = 0;
        for (ssize_t n = 0; (n = ::read(terminationPipe[0], bytes, sizeof bytes)) > 0;)
            count += n;
        if (count == 0)
            return;
        if (termination != Termination::None || count > 1) {
            if (releaseBeforeEnd)
                releaseBeforeEnd();
            std::_Exit(0);
        }
        termination = Termination::Queued;
        postEvent(terminationEvent);
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

void postUserEvent(const Event& event) { queue.push_back({event, true}); }

void raiseControlEvent(int window, int id, EventType type) { postUserEvent({EventKind::Control, window, id, type}); }

bool userEventPending()
{
    return std::any_of(queue.begin(), queue.end(), [](const QueuedEvent& queued) { return queued.fromUser; });
}
}  // namespace detail

}  // namespace gui
