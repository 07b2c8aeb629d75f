// User input the program has not taken yet is judged when it takes it: a command whose button,
// list, menu item or window the command before it disabled or hid does nothing.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QTableView>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/gui.h"
#include "platform/gui/message_box.h"

namespace {

constexpr int mainWindow = 0, ownedWindow = 4;
constexpr int disconnectButton = 1, readButton = 2, logCheckBox = 3, ownedButton = 41, disconnectCommand = 5;
constexpr int traceArea = 6, addressField = 7, ownedCheckBox = 42, modeList = 8, countField = 9, rowTable = 10;

class HeldInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gui::initialise();
        gui::closeAllWindows();
        ASSERT_TRUE(gui::openWindow(mainWindow, {0, 0, 400, 420}, "Main", gui::withMenuAndStatus | gui::closeBox));
        gui::menuBegin(mainWindow, "Подключение");
        gui::menuItem(disconnectCommand, "Отключить");
        gui::button(mainWindow, disconnectButton, {10, 10, 100, 30}, "Отключить");
        gui::button(mainWindow, readButton, {10, 50, 100, 30}, "Прочитать");
        gui::checkBox(mainWindow, logCheckBox, {10, 90, 200, 25}, "Записывать в log файл");
        gui::editField(mainWindow, addressField, {10, 120, 100, 25});
        gui::textArea(mainWindow, traceArea, {200, 10, 190, 100});
        gui::comboBox(mainWindow, modeList, {200, 150, 150, 25});
        for (const char* mode : {"0: Выкл", "1: Вкл", "2: Авто"})
            gui::addItem(modeList, mode);
        gui::setState(modeList, 0);
        gui::editField(mainWindow, countField, {120, 120, 70, 25});
        gui::table(mainWindow, rowTable, {10, 190, 380, 180});
        gui::tableSetColumns(rowTable, {{"√", 22}, {"Код", 80}});
        std::string lines;
        for (int line = 0; line < 200; ++line)
            lines += "Tx: 01 03 00 00 00 01\r\n";
        gui::setText(traceArea, lines);
        ASSERT_TRUE(gui::openWindow(ownedWindow, {420, 0, 200, 100}, "Owned", gui::closeBox, mainWindow));
        gui::button(ownedWindow, ownedButton, {10, 10, 100, 30}, "Подключить");
        gui::checkBox(ownedWindow, ownedCheckBox, {10, 50, 150, 25}, "Каждый раз");
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

    std::vector<gui::Event> takeAll() { return takeAllEvents(); }
    // The events the program would take now, one after the other, until none is left.
    static std::vector<gui::Event> takeAllEvents()
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
    static void clickThroughWindow(int control) { clickThroughWindow(gui::widgetOf(control)); }
    static void clickThroughWindow(QWidget* widget)
    {
        QWidget* window = widget->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, widget->rect().center()));
    }
    static void doubleClickThroughWindow(int control)
    {
        QWidget* widget = gui::widgetOf(control);
        QWidget* window = widget->window();
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, widget->rect().center()));
    }
    // A notch of the wheel away from the user, over the middle of the control.
    static void turnWheelThroughWindow(int control)
    {
        QWidget* widget = gui::widgetOf(control);
        QWidget* window = widget->window();
        const QPointF at = widget->mapTo(window, widget->rect().center());
        QWheelEvent wheel(at, window->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(window->windowHandle(), &wheel);
    }
    static int scrolledTo(int textArea)
    {
        return static_cast<QPlainTextEdit*>(gui::widgetOf(textArea))->verticalScrollBar()->value();
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
                    clickThroughWindow(button);
        }
    });
    answer.start(10);
    EXPECT_EQ(gui::messageBox("Внимание", "Отключить?", gui::Icon::Question, gui::Buttons::YesNo), gui::Answer::No);
    EXPECT_TRUE(takeAll().empty());
    EXPECT_EQ(gui::state(logCheckBox), 1);
}

// Mouse, wheel and keys alike wait for the command given before them, and then keep their order
// among themselves and against input that comes later still.
TEST_F(HeldInputTest, InputOfEveryKindWaitsForTheCommandBeforeIt)
{
    gui::widgetOf(addressField)->setFocus();
    takeAll();
    gui::menuAction(disconnectCommand)->trigger();  // leaves the keyboard where it is
    turnWheelThroughWindow(traceArea);
    QTest::keyClick(gui::windowWidget(mainWindow)->windowHandle(), Qt::Key_7);
    clickThroughWindow(logCheckBox);
    ASSERT_EQ(gui::pollEvent().id, disconnectCommand);
    EXPECT_EQ(scrolledTo(traceArea), 0);
    EXPECT_EQ(gui::text(addressField), "");

    // Input given now, while the input above is still held, goes behind it.
    clickThroughWindow(readButton);
    const std::vector<gui::Event> inOrder = takeAll();
    ASSERT_EQ(inOrder.size(), 3u);
    EXPECT_EQ(inOrder[0].id, addressField);
    EXPECT_EQ(inOrder[0].type, gui::EventType::Change);
    EXPECT_EQ(inOrder[1].id, logCheckBox);
    EXPECT_EQ(inOrder[2].id, readButton);
    EXPECT_GT(scrolledTo(traceArea), 0);
    EXPECT_EQ(gui::text(addressField), "7");
}

// A command dropped when taken (its button was disabled meanwhile) leaves the input held behind
// it to go on at once: the program waits for nothing the user has not given.
TEST_F(HeldInputTest, InputHeldBehindADroppedCommandGoesOnWithoutFurtherInput)
{
    clickThroughWindow(disconnectButton);
    clickThroughWindow(readButton);
    gui::enableControl(disconnectButton, false);
    // Nothing else the window system has to give could make the loop look again.
    for (int round = 0; round < 5; ++round)
        QCoreApplication::processEvents();
    // Only if the held click waited would this come first.
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout,
                     [] { gui::postEvent({gui::EventKind::Menu, mainWindow, disconnectCommand}); });
    fallback.start(5000);
    const gui::Event next = gui::waitEvent();
    EXPECT_EQ(next.kind, gui::EventKind::Control);
    EXPECT_EQ(next.id, readButton);
    gui::clearEventQueue();
}

// Held input meets the windows as the window system gave it: a double click reaches the control
// as the same presses and releases whether it waited or not.
TEST_F(HeldInputTest, AHeldDoubleClickReachesTheControlAsAnUnheldOne)
{
    struct Spy : QObject {
        std::vector<QEvent::Type> seen;
        bool eventFilter(QObject*, QEvent* event) override
        {
            const QEvent::Type type = event->type();
            if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                type == QEvent::MouseButtonDblClick)
                seen.push_back(type);
            return false;
        }
    };
    QWidget* area = static_cast<QPlainTextEdit*>(gui::widgetOf(traceArea))->viewport();
    const auto doubleClickTraceArea = [area] {
        Spy spy;
        area->installEventFilter(&spy);
        doubleClickThroughWindow(traceArea);
        takeAllEvents();
        area->removeEventFilter(&spy);
        return spy.seen;
    };

    const std::vector<QEvent::Type> unheld = doubleClickTraceArea();
    ASSERT_FALSE(unheld.empty());
    gui::menuAction(disconnectCommand)->trigger();
    const std::vector<QEvent::Type> held = doubleClickTraceArea();
    EXPECT_EQ(held, unheld);
}

// Held input that can no longer reach what it was given to is dropped: a window hidden meanwhile
// takes none, and clearing the event queue drops it too.
TEST_F(HeldInputTest, HeldInputGoesNowhereItCouldNotGoNow)
{
    clickThroughWindow(disconnectButton);
    clickThroughWindow(ownedCheckBox);
    ASSERT_EQ(gui::pollEvent().id, disconnectButton);
    gui::showWindow(ownedWindow, false);
    EXPECT_TRUE(takeAll().empty());
    gui::showWindow(ownedWindow, true, false);
    EXPECT_EQ(gui::state(ownedCheckBox), 0);

    clickThroughWindow(disconnectButton);
    clickThroughWindow(logCheckBox);
    gui::clearEventQueue();
    EXPECT_TRUE(takeAll().empty());
    EXPECT_EQ(gui::state(logCheckBox), 0);
}

// A question a command asks takes its answer at once, even while another of the user's commands
// waits to be taken: the program is inside the command, waiting for the answer.
TEST_F(HeldInputTest, AQuestionBoxTakesItsAnswerWhileACommandWaits)
{
    clickThroughWindow(disconnectButton);
    bool answerHeld = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        answer.stop();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QString::fromUtf8("Да"))
                clickThroughWindow(button);
        // The click has been delivered: a box still open did not take it.
        answerHeld = box->isVisible();
        if (answerHeld)
            box->done(0);
    });
    answer.start(10);
    EXPECT_EQ(gui::messageBox("Внимание", "Отключить?", gui::Icon::Question, gui::Buttons::YesNo), gui::Answer::Yes);
    EXPECT_FALSE(answerHeld);
    const std::vector<gui::Event> after = takeAll();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].id, disconnectButton);
}

// Held input meets the windows as the live input would have: the same input raises the same
// events and leaves the same state whether the program was idle or a command waited to be taken.
// It goes to a drop-down a held click or key opened, finds done what the command left to Qt (rows
// a table shows through a queued call) and nothing the window system gave after it, and a close the window manager asks for, or text an input
// method gives, takes its turn behind the input given before it.
TEST_F(HeldInputTest, HeldInputActsAsLiveInputWould)
{
    using Step = std::function<void()>;
    struct Case {
        const char* what;
        Step before;          // the state the input is given in
        Step commandsEffect;  // what the program does on taking the command
        std::vector<Step> input;
        std::function<std::string()> outcome;
    };
    QWindow* window = gui::windowWidget(mainWindow)->windowHandle();
    const auto key = [window](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        return [=] { QTest::keyClick(window, key, modifiers); };
    };
    const auto listOutcome = [] {
        return std::to_string(gui::state(modeList)) + (QApplication::activePopupWidget() ? " open" : " closed");
    };
    const auto focusAddress = [] { gui::widgetOf(addressField)->setFocus(); };
    const auto fieldTexts = [] { return gui::text(addressField) + "|" + gui::text(countField); };
    const auto fillTable = [] {
        for (int row = 0; row < 20; ++row)
            gui::setCellText(rowTable, gui::tableAppendRow(rowTable), 1, "P4.1." + std::to_string(row));
    };
    // Where row 5 is once the rows are shown; the click is given before they are.
    fillTable();
    takeAll();
    QWidget* cells = static_cast<QTableView*>(gui::widgetOf(rowTable))->viewport();
    const gui::Rect cell = gui::tableCellRect(rowTable, 5, 1);
    const QPoint row5 = cells->mapTo(cells->window(), QPoint(cell.x + cell.w / 2, cell.y + cell.h / 2));
    // A press that asks the window system to activate another window: its answer comes after the
    // release, which was given before the request was made.
    struct ActivateOnPress : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::MouseButtonPress)
                gui::windowWidget(ownedWindow)->activateWindow();
            return false;
        }
    } activateOnPress;
    const std::vector<Case> cases{
        {"a click whose press has another window activated",
         [&] { gui::widgetOf(readButton)->installEventFilter(&activateOnPress); }, [] {},
         {[] { clickThroughWindow(readButton); }},
         [&] {
             gui::widgetOf(readButton)->removeEventFilter(&activateOnPress);
             QCoreApplication::processEvents();
             return std::string(QApplication::activeWindow() == gui::windowWidget(ownedWindow) ? "owned" : "other");
         }},
        {"a drop-down a click opened", [] {}, [] {},
         {[&] {
              QWidget* list = gui::widgetOf(modeList);
              QTest::mouseClick(window, Qt::LeftButton, {},
                                list->mapTo(list->window(), QPoint(list->width() - 8, list->height() / 2)));
          },
          key(Qt::Key_Down), key(Qt::Key_Return)},
         listOutcome},
        {"a drop-down Alt+Down opened", [] { gui::widgetOf(modeList)->setFocus(); }, [] {},
         {key(Qt::Key_Down, Qt::AltModifier), key(Qt::Key_Down), key(Qt::Key_Down), key(Qt::Key_Return)},
         listOutcome},
        {"rows the command put in a table", [] {}, fillTable,
         {[&] { QTest::mouseClick(window, Qt::LeftButton, {}, row5); }, key(Qt::Key_Down),
          [] { clickThroughWindow(readButton); }},
         [] { return std::to_string(static_cast<QTableView*>(gui::widgetOf(rowTable))->currentIndex().row()); }},
        {"the window manager's close after typing", focusAddress, [] {}, {key(Qt::Key_7), [=] { window->close(); }},
         fieldTexts},
        {"an input method's text after a click on another field", focusAddress, [] {},
         {[] { clickThroughWindow(countField); },
          [] {
              QInputMethodEvent text;
              text.setCommitString(QStringLiteral("5"));
              QApplication::sendEvent(QGuiApplication::focusObject(), &text);
          }},
         fieldTexts},
        {"a new size the window manager gave, which hides a field",
         [] { gui::setWindowHook(mainWindow, [](const gui::WindowMessage&) { gui::showControl(countField, false); }); },
         [] {},
         {[] { clickThroughWindow(countField); }, key(Qt::Key_5),
          [=] {
              window->resize(window->size() + QSize(0, 10));
              QCoreApplication::processEvents();  // the window system's answer, in its place
          },
          key(Qt::Key_6)},
         fieldTexts},
    };
    const auto describe = [](const std::vector<gui::Event>& events) {
        std::string said;
        for (const gui::Event& e : events)
            said += std::to_string(static_cast<int>(e.kind)) + ":" + std::to_string(e.window) + ":" +
                    std::to_string(e.id) + ":" + std::to_string(static_cast<int>(e.type)) + " ";
        return said;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string events[2], outcomes[2];
        for (const bool busy : {false, true}) {
            gui::setState(modeList, 0);
            gui::setText(addressField, "");
            gui::setText(countField, "");
            gui::tableClearRows(rowTable);
            gui::setWindowHook(mainWindow, {});
            gui::showControl(countField, true);
            gui::activateWindow(mainWindow);
            gui::widgetOf(readButton)->setFocus();
            c.before();
            takeAll();
            gui::menuAction(disconnectCommand)->trigger();
            std::vector<gui::Event> taken;
            if (busy) {
                // Every piece comes while the command waits; then the program takes it and
                // waits for its next event (the input raises at least one, or else the wait
                // ends by the clock with an event of no control).
                for (const Step& step : c.input)
                    step();
                ASSERT_EQ(gui::pollEvent().id, disconnectCommand);
                c.commandsEffect();
                QTimer fallback;
                fallback.setSingleShot(true);
                QObject::connect(&fallback, &QTimer::timeout,
                                 [] { gui::postEvent({gui::EventKind::Menu, mainWindow, -1}); });
                fallback.start(5000);
                taken.push_back(gui::waitEvent());
                fallback.stop();
            } else {
                // Each piece comes once the program is back for more.
                ASSERT_EQ(gui::pollEvent().id, disconnectCommand);
                c.commandsEffect();
                EXPECT_TRUE(takeAll().empty());
                for (const Step& step : c.input) {
                    step();
                    for (const gui::Event& e : takeAll())
                        taken.push_back(e);
                }
            }
            for (const gui::Event& e : takeAll())
                taken.push_back(e);
            events[busy] = describe(taken);
            outcomes[busy] = c.outcome();
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
        }
        EXPECT_EQ(events[1], events[0]);
        EXPECT_EQ(outcomes[1], outcomes[0]);
    }
}

}  // namespace
