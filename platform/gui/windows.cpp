#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <vector>

#include "platform/gui/registry.h"

namespace gui {
namespace detail {

std::map<int, WindowRecord>& windows()
{
    static std::map<int, WindowRecord> records;
    return records;
}

WindowRecord* findWindow(int window)
{
    auto& all = windows();
    const auto it = all.find(window);
    if (it == all.end() || !it->second.widget)
        return nullptr;
    return &it->second;
}

namespace {
// A disabled window waits for a window it owns: that one, or the one it waits for in turn, takes
// the input. Windows that only accompany their owner (the tool window, the window kept on top)
// never do. Focus is no guide, as the program makes the main window active again during a long
// exchange. The chain runs from the window given to the one that holds its input.
std::vector<WindowRecord*> windowsToInput(int window)
{
    std::vector<WindowRecord*> chain;
    for (WindowRecord* step = findWindow(window); step && std::ranges::find(chain, step) == chain.end();) {
        chain.push_back(step);
        if (step->enabled)
            break;
        WindowRecord* owned = nullptr;
        for (auto& [number, record] : windows())
            if (record.owner == step->number && record.widget && record.widget->isVisible() &&
                !(record.flags & (toolWindow | alwaysOnTop)))
                owned = &record;
        step = owned;
    }
    return chain;
}
}  // namespace

WindowRecord* windowHoldingInput(int window)
{
    const std::vector<WindowRecord*> chain = windowsToInput(window);
    return chain.empty() ? nullptr : chain.back();
}

QWidget* dialogOwner()
{
    auto* main = findWindow(0);
    if (!main || !main->widget->isVisible())
        return nullptr;
    return windowHoldingInput(0)->widget;
}

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string str(const QString& text) { return text.toStdString(); }

namespace {
void showNormalAgain(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
}

// The windows from the one given to the one that holds its input, and above that the dialogs
// (message boxes, file dialogs) open over it, the modal one last.
std::vector<QWidget*> widgetsToInput(int window)
{
    std::vector<QWidget*> chain;
    for (WindowRecord* record : windowsToInput(window))
        chain.push_back(record->widget);
    std::vector<QWidget*> dialogs;
    QWidget* dialog = QApplication::activeModalWidget();
    for (; dialog && !chain.empty() && dialog != chain.back();
         dialog = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr)
        dialogs.push_back(dialog);
    if (dialog && !chain.empty())
        chain.insert(chain.end(), dialogs.rbegin(), dialogs.rend());
    return chain;
}

}  // namespace

// Makes the window that holds the input for this one active. An owned window on the way that was
// minimised comes back first: the window given is disabled while it waits, and the program would
// be stranded. The window given, if minimised itself, stays so: the user put it away.
void activateInputHolder(int window, bool focusJustGiven)
{
    const std::vector<QWidget*> chain = widgetsToInput(window);
    if (chain.empty() || !chain.front()->isVisible() || chain.front()->isMinimized())
        return;
    for (QWidget* owned : chain)
        if (owned != chain.front())
            showNormalAgain(owned);
    QWidget* holder = chain.back();
    if (focusJustGiven && holder != chain.front()) {
        // Qt may still take the holder for active: the request goes out whatever it thinks.
        holder->raise();
        if (QWindow* handle = holder->windowHandle())
            handle->requestActivate();
    } else if (QApplication::activeWindow() != holder) {
        holder->raise();
        holder->activateWindow();
    }
}

void bringBackIfWaitedFor(QWidget* window)
{
    QWidget* top = window;
    while (top->parentWidget())
        top = top->parentWidget()->window();
    for (const auto& [number, record] : windows())
        if (record.widget == top) {
            if (std::ranges::count(widgetsToInput(number), window))
                activateInputHolder(number);
            return;
        }
}

namespace {
// The inner minimum that gives the outer minimum with the frame the window has now.
void applyMinimumOuterSize(WindowRecord& record)
{
    if (record.minimumOuterSize.isEmpty())
        return;
    const QSize frame = record.widget->frameGeometry().size() - record.widget->geometry().size();
    const QSize inner = (record.minimumOuterSize - frame).expandedTo(QSize(0, 0));
    if (record.widget->minimumSize() != inner)
        record.widget->setMinimumSize(inner);
}

// A top-level window whose close box only reports, and whose size changes reach the window's hook
// before anything else sees them.
class LayerWindow : public QMainWindow {
public:
    LayerWindow(int number, QWidget* owner, Qt::WindowFlags flags) : QMainWindow(owner, flags), number_(number) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (auto* record = findWindow(number_); record && record->enabled)
            postUserEvent({EventKind::Close, number_, 0, EventType::None});
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        const auto reportSize = [number = number_] {
            if (auto* record = findWindow(number); record && record->hook && record->widget)
                record->hook({WindowMessage::SizeChanged, record->widget->width(), record->widget->height()});
        };
        // A size the user gave through the window manager (a maximise) comes after the input given before it.
        if (!event->spontaneous() || !takeTurnBehindInput(windowHandle(), reportSize))
            reportSize();
    }
    // The window manager frames a window only once it is on the screen (the window then moves by
    // the frame's size), and may change the frame later.
    void showEvent(QShowEvent* event) override
    {
        QMainWindow::showEvent(event);
        keepMinimumOuterSize();
    }
    void moveEvent(QMoveEvent* event) override
    {
        QMainWindow::moveEvent(event);
        keepMinimumOuterSize();
    }
    // The window manager activates a disabled window whose title bar is clicked, or that is picked
    // in a task list, and its keys would then go nowhere: the window it waits for takes the
    // activation over.
    void changeEvent(QEvent* event) override
    {
        QMainWindow::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow())
            activateInputHolder(number_);
    }

private:
    void keepMinimumOuterSize()
    {
        if (auto* record = findWindow(number_))
            applyMinimumOuterSize(*record);
    }

    int number_;
};

// A window system maps no window without area: a window asked for with a title bar only keeps
// one pixel of its own so that it reaches the screen at all.
QSize mappableSize(int width, int height) { return {std::max(width, 1), std::max(height, 1)}; }
}  // namespace
}  // namespace detail

using namespace detail;

bool openWindow(int window, Rect inner, std::string_view title, unsigned flags, int owner)
{
    initialise();
    if (windowExists(window))
        closeWindow(window);
    QWidget* ownerWidget = nullptr;
    if (auto* o = findWindow(owner))
        ownerWidget = o->widget;
    // An owned window must be one the window system keeps above its owner (transient for it): the
    // owner is often disabled meanwhile, and a click on it would otherwise bury the window that
    // holds the user's input. Plain Qt::Window top-levels are never made transient.
    Qt::WindowFlags qtFlags = Qt::WindowTitleHint | Qt::CustomizeWindowHint;
    if (flags & toolWindow)
        qtFlags |= Qt::Tool;
    else
        qtFlags |= ownerWidget ? Qt::Dialog : Qt::Window;
    if (flags & (closeBox | sizable))
        qtFlags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (flags & sizable)
        qtFlags |= Qt::WindowMinMaxButtonsHint;
    if (flags & alwaysOnTop)
        qtFlags |= Qt::WindowStaysOnTopHint;
    auto* widget = new LayerWindow(window, ownerWidget, qtFlags);
    if (flags & alwaysOnTop)
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
    widget->setWindowTitle(qs(title));
    auto* client = new QWidget(widget);
    widget->setCentralWidget(client);

    WindowRecord record;
    record.number = window;
    record.widget = widget;
    record.client = client;
    record.flags = flags;
    record.owner = owner;
    if (flags & withMenuAndStatus) {
        record.menuBar = widget->menuBar();
        record.statusBar = widget->statusBar();
        record.statusBar->setSizeGripEnabled(false);
    }
    windows()[window] = std::move(record);
    const QSize size = mappableSize(inner.w, inner.h);
    widget->resize(size);
    if (!(flags & sizable))
        widget->setFixedSize(size);
    widget->move(inner.x, inner.y);
    return true;
}

void closeWindow(int window)
{
    auto* record = findWindow(window);
    if (!record)
        return;
    for (const auto& [id, control] : controls())
        if (control.window == window)
            dropPendingLines(id);
    forgetWindowControls(window);
    QWidget* widget = record->widget;
    windows().erase(window);
    delete widget;
}

bool windowExists(int window) { return findWindow(window) != nullptr; }

void showWindow(int window, bool show, bool activate)
{
    auto* record = findWindow(window);
    if (!record)
        return;
    if (!show) {
        // As the window goes, the window it belongs to takes the input again.
        const bool wasActive = QApplication::activeWindow() == record->widget;
        record->widget->hide();
        if (auto* owner = findWindow(record->owner); wasActive && owner && owner->widget->isVisible())
            owner->widget->activateWindow();
        return;
    }
    record->widget->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    // An owned window hidden while minimised comes back normal: its owner may be waiting for it.
    if (record->owner >= 0)
        showNormalAgain(record->widget);
    if (record->widget->isMinimized() || record->widget->isMaximized())
        record->widget->show();
    else
        record->widget->showNormal();
    if (activate) {
        record->widget->raise();
        record->widget->activateWindow();
    }
}

bool windowVisible(int window)
{
    auto* record = findWindow(window);
    return record && record->widget->isVisible();
}

namespace {
// The control that had the keyboard before the window was disabled gets it back; one hidden or
// disabled meanwhile (an in-place editor) passes it to the nearest control around it that takes it.
void restoreFocus(WindowRecord& record)
{
    QWidget* target = record.focusBeforeDisabled;
    record.focusBeforeDisabled = nullptr;
    while (target && target != record.widget &&
           !(target->isVisibleTo(record.widget) && target->isEnabled() && target->focusPolicy() != Qt::NoFocus))
        target = target->parentWidget();
    if (target && target != record.widget)
        target->setFocus(Qt::OtherFocusReason);
}
}  // namespace

// A disabled window takes no input, while the windows it owns (children in Qt's terms) stay usable:
// so its contents are disabled, not the window itself. Disabling them takes the keyboard focus
// away, which enabling gives back.
void enableWindow(int window, bool enabled)
{
    auto* record = findWindow(window);
    if (!record)
        return;
    if (!enabled && record->enabled)
        record->focusBeforeDisabled = record->widget->focusWidget();
    const bool wasEnabled = record->enabled;
    record->enabled = enabled;
    record->client->setEnabled(enabled);
    if (record->menuBar)
        record->menuBar->setEnabled(enabled);
    if (enabled && !wasEnabled)
        restoreFocus(*record);
}

bool windowEnabled(int window)
{
    auto* record = findWindow(window);
    return record && record->enabled;
}

void activateWindow(int window) { activateInputHolder(window); }

namespace {
constexpr int onScreenWaitLimitMs = 500;

// Ends a wait as soon as the window it watches is exposed.
class ExposeWatch : public QObject {
public:
    ExposeWatch(QWindow* window, QEventLoop& loop) : window_(window), loop_(loop) { window->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && window_->isExposed())
            loop_.quit();
        return false;
    }

private:
    QWindow* window_;
    QEventLoop& loop_;
};

// A window just shown is on the screen only once the window manager has mapped it, which takes a
// round trip to another process: painting before that shows nothing, and a long command that
// follows at once would keep it off the screen to its end. The wait handles no user input and is
// bounded, should no window manager answer.
void waitUntilOnScreen(QWidget* widget)
{
    QWindow* handle = widget->windowHandle();
    if (!handle || handle->isExposed())
        return;
    QEventLoop loop;
    ExposeWatch watch(handle, loop);
    QTimer::singleShot(onScreenWaitLimitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
}  // namespace

void repaintWindowNow(int window)
{
    if (auto* record = findWindow(window); record && record->widget->isVisible()) {
        waitUntilOnScreen(record->widget);
        // Rows, trace lines and progress given since the last pass reach their widgets first.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        flushPendingScreenWork();
        record->widget->repaint();
    }
}

void setWindowTitle(int window, std::string_view title)
{
    if (auto* record = findWindow(window); record && record->widget->windowTitle() != qs(title))
        record->widget->setWindowTitle(qs(title));
}

std::string windowTitle(int window)
{
    auto* record = findWindow(window);
    return record ? str(record->widget->windowTitle()) : std::string();
}

void centreWindow(int window, int over)
{
    auto* record = findWindow(window);
    if (!record)
        return;
    QRect area;
    if (auto* o = findWindow(over))
        area = o->widget->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    const QSize size = record->widget->frameGeometry().size();
    record->widget->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

Rect availableScreenArea()
{
    initialise();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect area = screen->availableGeometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

void moveWindow(int window, int x, int y)
{
    if (auto* record = findWindow(window))
        record->widget->move(x, y);
}

void resizeWindow(int window, int innerWidth, int innerHeight)
{
    auto* record = findWindow(window);
    if (!record)
        return;
    const QSize size = mappableSize(innerWidth, innerHeight);
    if (!(record->flags & sizable))
        record->widget->setFixedSize(size);
    else
        record->widget->resize(size);
}

Rect windowInnerRect(int window)
{
    auto* record = findWindow(window);
    if (!record)
        return {};
    const QRect g = record->widget->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

void setWindowState(int window, WindowState state)
{
    auto* record = findWindow(window);
    if (!record)
        return;
    Qt::WindowStates s = record->widget->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
    if (state == WindowState::Maximised)
        s |= Qt::WindowMaximized;
    else if (state == WindowState::Minimised)
        s |= Qt::WindowMinimized;
    record->widget->setWindowState(s);
}

WindowState windowState(int window)
{
    auto* record = findWindow(window);
    if (!record)
        return WindowState::Normal;
    if (record->widget->windowState() & Qt::WindowMinimized)
        return WindowState::Minimised;
    if (record->widget->windowState() & Qt::WindowMaximized)
        return WindowState::Maximised;
    return WindowState::Normal;
}

void setMinimumOuterSize(int window, int width, int height)
{
    if (auto* record = findWindow(window)) {
        record->minimumOuterSize = QSize(width, height);
        applyMinimumOuterSize(*record);
    }
}

void setWindowHook(int window, std::function<void(const WindowMessage&)> hook)
{
    if (auto* record = findWindow(window))
        record->hook = std::move(hook);
}

QWidget* windowWidget(int window)
{
    auto* record = findWindow(window);
    return record ? record->widget.data() : nullptr;
}

void closeAllWindows()
{
    std::vector<int> numbers;
    for (const auto& [number, record] : windows())
        numbers.push_back(number);
    for (int number : numbers)
        closeWindow(number);
    controls().clear();
    clearEventQueue();
}

}  // namespace gui
