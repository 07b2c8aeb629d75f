// User input the program has not taken yet is judged when it takes it: a command whose button,
// list, menu item or window the command before it disabled or hid does nothing.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <vector>

#include "platform/gui/gui.h"
#include "platform/gui/message_box.h"

namespace {

constexpr int mainWindow = 0, ownedWindow = 4;
constexpr int disconnectButton = 1, readButton = 2, logCheckBox = 3, ownedButton = 41, disconnectCommand = 5;

class HeldInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gui::initialise();
        gui::closeAllWindows();
        ASSERT_TRUE(gui::openWindow(mainWindow, {0, 0, 400, 300}, "Main", gui::withMenuAndStatus));
        gui::menuBegin(mainWindow, "Подключение");
        gui::menuItem(disconnectCommand, "Отключить");
        gui::button(mainWindow, disconnectButton, {10, 10, 100, 30}, "Отключить");
        gui::button(mainWindow, readButton, {10, 50, 100, 30}, "Прочитать");
        gui::checkBox(mainWindow, logCheckBox, {10, 90, 200, 25}, "Записывать в log файл");
        ASSERT_TRUE(gui::openWindow(ownedWindow, {420, 0, 200, 100}, "Owned", gui::closeBox, mainWindow));
        gui::button(ownedWindow, ownedButton, {10, 10, 100, 30}, "Подключить");
        gui::showWindow(mainWindow, true);
        gui::showWindow(ownedWindow, true, false);
        gui::activateWindow(mainWindow);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        gui::setMessageBoxResponder({});
        gui::closeAllWindows();
    }

    // The events the program would take now, one after the other, until none is left.
    std::vector<gui::Event> takeAll()
    {
        std::vector<gui::Event> taken;
        for (int idle = 0; idle < 3;) {
            const gui::Event e = gui::pollEvent();
            if (e.kind == gui::EventKind::None)
                ++idle;
            else
                taken.push_back(e);
        }
        return taken;
    }

    // A click as the window system delivers it: to the window, which finds the control under it.
    static void clickThroughWindow(int control)
    {
        QWidget* widget = gui::widgetOf(control);
        QWidget* window = widget->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, widget->rect().center()));
    }
};

// The first event, once taken, disables or hides what the second one is for: the second, already
// queued, does nothing. What the program posts itself always arrives.
TEST_F(HeldInputTest, AQueuedCommandWhoseTargetWentAwayDoesNothing)
{
    struct Case {
        const char* what;
        std::function<void()> secondCommand;
        std::function<void()> firstCommandsEffect;
    };
    const auto clickRead = [] { QTest::mouseClick(gui::widgetOf(readButton), Qt::LeftButton); };
    const auto clickOwned = [] { QTest::mouseClick(gui::widgetOf(ownedButton), Qt::LeftButton); };
    for (const Case& c : {
             Case{"a button disabled", clickRead, [] { gui::enableControl(readButton, false); }},
             Case{"a button hidden", clickRead, [] { gui::showControl(readButton, false); }},
             Case{"a menu item disabled", [] { gui::menuAction(disconnectCommand)->trigger(); },
                  [] { gui::enableMenuItem(disconnectCommand, false); }},
             Case{"its window disabled", clickRead, [] { gui::enableWindow(mainWindow, false); }},
             Case{"its window hidden", clickOwned, [] { gui::showWindow(ownedWindow, false); }},
             Case{"the main window disabled for an owned one", clickRead,
                  [] {
                      gui::enableWindow(mainWindow, false);
                      gui::showWindow(ownedWindow, true);
                  }},
             Case{"a window's close box, the window disabled",
                  [] { gui::windowWidget(ownedWindow)->close(); }, [] { gui::enableWindow(ownedWindow, false); }},
         }) {
        SCOPED_TRACE(c.what);
        QTest::mouseClick(gui::widgetOf(disconnectButton), Qt::LeftButton);
        c.secondCommand();
        const gui::Event first = gui::pollEvent();
        EXPECT_EQ(first.id, disconnectButton);
        c.firstCommandsEffect();
        EXPECT_TRUE(takeAll().empty());

        gui::enableControl(readButton, true);
        gui::showControl(readButton, true);
        gui::enableMenuItem(disconnectCommand, true);
        gui::enableWindow(mainWindow, true);
        gui::enableWindow(ownedWindow, true);
        gui::showWindow(ownedWindow, true, false);
        gui::activateWindow(mainWindow);
    }

    gui::enableControl(readButton, false);
    gui::postEvent({gui::EventKind::Control, mainWindow, readButton, gui::EventType::Click});
    const std::vector<gui::Event> posted = takeAll();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].id, readButton);
}

// Input that comes while a command of the user's waits to be taken reaches the windows only once
// the program has taken it, in the order it came: then a check box that command disabled keeps
// its mark and a button it disabled stays unclicked. Input held when a question box opens was
// meant for the windows behind it and is dropped.
TEST_F(HeldInputTest, InputAfterAnUntakenCommandWaitsForIt)
{
    const auto giveHeldInput = [] {
        clickThroughWindow(disconnectButton);
        clickThroughWindow(logCheckBox);
        clickThroughWindow(readButton);
    };

    giveHeldInput();
    ASSERT_EQ(gui::pollEvent().id, disconnectButton);
    EXPECT_EQ(gui::state(logCheckBox), 0);  // the click has not reached the box yet
    const std::vector<gui::Event> inOrder = takeAll();
    ASSERT_EQ(inOrder.size(), 2u);
    EXPECT_EQ(inOrder[0].id, logCheckBox);
    EXPECT_EQ(inOrder[1].id, readButton);
    EXPECT_EQ(gui::state(logCheckBox), 1);

    giveHeldInput();
    ASSERT_EQ(gui::pollEvent().id, disconnectButton);
    gui::enableControl(logCheckBox, false);
    gui::enableControl(readButton, false);
    EXPECT_TRUE(takeAll().empty());
    EXPECT_EQ(gui::state(logCheckBox), 1);

    gui::enableControl(logCheckBox, true);
    gui::enableControl(readButton, true);
    giveHeldInput();
    ASSERT_EQ(gui::pollEvent().id, disconnectButton);
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->isVisible()) {
            answer.stop();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == QString::fromUtf8("Нет"))
                    QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    answer.start(10);
    EXPECT_EQ(gui::messageBox("Внимание", "Отключить?", gui::Icon::Question, gui::Buttons::YesNo), gui::Answer::No);
    EXPECT_TRUE(takeAll().empty());
    EXPECT_EQ(gui::state(logCheckBox), 1);
}

}  // namespace
