// A window manager gives a window the focus with a WM_TAKE_FOCUS message. A disabled window hands
// it on to the window it waits for; an enabled one keeps it. Only an X server shows this: the test
// skips elsewhere and runs under Xvfb from tests/x11/focus_hand_off_check.sh.

#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include <xcb/xcb.h>

#include <memory>
#include <vector>

#include "platform/gui/gui.h"
#include "platform/gui/x11_atom.h"

namespace {

constexpr int mainWindow = 0, ownedWindow = 4, monitorWindow = 1;

// As a window manager gives the focus: the message goes to the client that made the window.
void sendTakeFocus(QWidget* window)
{
    xcb_connection_t* connection = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->winId());
    message.type = gui::detail::x11Atom(connection, "WM_PROTOCOLS");
    message.data.data32[0] = gui::detail::x11Atom(connection, "WM_TAKE_FOCUS");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, message.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

// Counts the WM_TAKE_FOCUS messages the program has been given.
class TakeFocusCount : public QAbstractNativeEventFilter {
public:
    int seen = 0;
    xcb_atom_t takeFocus = gui::detail::x11Atom(
        qApp->nativeInterface<QNativeInterface::QX11Application>()->connection(), "WM_TAKE_FOCUS");
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        const auto* event = static_cast<const xcb_client_message_event_t*>(message);
        if (type == "xcb_generic_event_t" && (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
            event->data.data32[0] == takeFocus)
            ++seen;
        return false;
    }
};

class FocusHandOffTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gui::initialise();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (tests/x11/focus_hand_off_check.sh)";
        gui::closeAllWindows();
        ASSERT_TRUE(gui::openWindow(mainWindow, {0, 0, 400, 300}, "Main", gui::withMenuAndStatus));
        ASSERT_TRUE(gui::openWindow(ownedWindow, {450, 0, 200, 100}, "Owned", gui::closeBox, mainWindow));
        ASSERT_TRUE(gui::openWindow(monitorWindow, {0, 350, 300, 200}, "Monitor", gui::closeBox));
        for (int window : {mainWindow, ownedWindow, monitorWindow})
            gui::showWindow(window, true);
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &focusSpy,
                         [this](QWindow* window) { focusedWindows.push_back(window); });
        takeFocusCount = std::make_unique<TakeFocusCount>();
        qApp->installNativeEventFilter(takeFocusCount.get());
    }
    void TearDown() override
    {
        if (takeFocusCount)
            qApp->removeNativeEventFilter(takeFocusCount.get());
        gui::closeAllWindows();
    }

    // Each message sent so far has been handled, and what it asked for has been done.
    void handled(int messages)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return takeFocusCount->seen == messages; }, 20000));
        for (int round = 0; round < 3; ++round)
            QCoreApplication::processEvents();
    }

    static bool becomesActive(int window)
    {
        QWidget* widget = gui::windowWidget(window);
        return QTest::qWaitFor([widget] { return QApplication::activeWindow() == widget; }, 20000);
    }

    std::unique_ptr<TakeFocusCount> takeFocusCount;  // made once on an X server
    QObject focusSpy;
    std::vector<QWindow*> focusedWindows;
};

TEST_F(FocusHandOffTest, ADisabledWindowGivenTheFocusHandsItToTheWindowItWaitsFor)
{
    gui::windowWidget(monitorWindow)->activateWindow();
    ASSERT_TRUE(becomesActive(monitorWindow));
    gui::enableWindow(mainWindow, false);
    focusedWindows.clear();

    sendTakeFocus(gui::windowWidget(mainWindow));
    EXPECT_TRUE(becomesActive(ownedWindow));
    for (QWindow* window : focusedWindows)
        EXPECT_EQ(window, gui::windowWidget(ownedWindow)->windowHandle());
}

// An enabled window takes the focus itself: the hand-off asks for nothing. The disabled Main Window
// given the focus afterwards shows when the first message has been handled.
TEST_F(FocusHandOffTest, AnEnabledWindowGivenTheFocusHandsNothingOn)
{
    gui::windowWidget(monitorWindow)->activateWindow();
    ASSERT_TRUE(becomesActive(monitorWindow));
    focusedWindows.clear();

    sendTakeFocus(gui::windowWidget(ownedWindow));
    sendTakeFocus(gui::windowWidget(mainWindow));
    handled(2);
    gui::enableWindow(mainWindow, false);
    sendTakeFocus(gui::windowWidget(mainWindow));
    EXPECT_TRUE(becomesActive(ownedWindow));
    for (QWindow* window : focusedWindows)
        EXPECT_EQ(window, gui::windowWidget(ownedWindow)->windowHandle());
}

}  // namespace
