#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

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

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string str(const QString& text) { return text.toStdString(); }

namespace {
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
            postEvent({EventKind::Close, number_, 0, EventType::None});
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        if (auto* record = findWindow(number_); record && record->hook)
            record->hook({WindowMessage::SizeChanged, width(), height()});
    }

private:
    int number_;
};
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
    Qt::WindowFlags qtFlags = Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint;
    if (flags & (closeBox | sizable))
        qtFlags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (flags & sizable)
        qtFlags |= Qt::WindowMinMaxButtonsHint;
    if (flags & toolWindow)
        qtFlags |= Qt::Tool;
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
    widget->resize(inner.w, inner.h);
    if (!(flags & sizable))
        widget->setFixedSize(inner.w, inner.h);
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
        record->widget->hide();
        return;
    }
    record->widget->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
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

// A disabled window takes no input, while the windows it owns (children in Qt's terms) stay usable:
// so its contents are disabled, not the window itself.
void enableWindow(int window, bool enabled)
{
    auto* record = findWindow(window);
    if (!record)
        return;
    record->enabled = enabled;
    record->client->setEnabled(enabled);
    if (record->menuBar)
        record->menuBar->setEnabled(enabled);
}

bool windowEnabled(int window)
{
    auto* record = findWindow(window);
    return record && record->enabled;
}

void activateWindow(int window)
{
    if (auto* record = findWindow(window);
        record && record->widget->isVisible() && QApplication::activeWindow() != record->widget) {
        record->widget->raise();
        record->widget->activateWindow();
    }
}

void repaintWindowNow(int window)
{
    if (auto* record = findWindow(window); record && record->widget->isVisible()) {
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
    if (!(record->flags & sizable))
        record->widget->setFixedSize(innerWidth, innerHeight);
    else
        record->widget->resize(innerWidth, innerHeight);
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
    auto* record = findWindow(window);
    if (!record)
        return;
    const QSize frame = record->widget->frameGeometry().size() - record->widget->geometry().size();
    record->widget->setMinimumSize(std::max(0, width - frame.width()), std::max(0, height - frame.height()));
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
