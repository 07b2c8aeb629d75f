// The Comm Window's port scan, fields, model list, "По умолчанию", help and close box.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "app/comm_window.h"
#include "app/documents.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "link/port_scan.h"
#include "platform/clock/clock.h"
#include "platform/help/help_window.h"
#include "platform/serial/serial_port.h"
#include "tests/support/device_app_harness.h"
#include "tests/support/pty_pair.h"

namespace {

using namespace commctl;

std::vector<std::string> entries(int comboId)
{
    std::vector<std::string> texts;
    for (int i = 0; i < gui::itemCount(comboId); ++i)
        texts.push_back(gui::itemText(comboId, i));
    return texts;
}

class CommWindow : public DeviceAppTest {};

TEST_F(CommWindow, TheScanListsThePortsThatOpenAndRefreshScansAgain)
{
    EXPECT_EQ(entries(portList), (std::vector<std::string>{device.path(), "Обновить..."}));
    EXPECT_EQ(gui::state(portList), 0);
    EXPECT_TRUE(gui::controlEnabled(connectButton));

    // Held by another program that marked it as its own (the marks Connect honours): not listed;
    // "Подключить" goes grey with nothing to connect to.
    struct Holder {
        const char* name;
        bool lock;
        bool exclusive;
    };
    for (const Holder holder : {Holder{"flock", true, false}, Holder{"TIOCEXCL", false, true}, Holder{"both", true, true}}) {
        SCOPED_TRACE(holder.name);
        if (gui::windowWidget(win::comm)->isVisible()) {
            gui::windowWidget(win::comm)->close();
            pump();
        }
        const int other = ::open(device.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(other, 0);
        if (holder.lock) {
            ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
        }
        if (holder.exclusive) {
            ASSERT_EQ(ioctl(other, TIOCEXCL), 0);
        }
        triggerMenu(cmd::commSettings);
        EXPECT_EQ(entries(portList), (std::vector<std::string>{"Обновить..."}));
        EXPECT_EQ(gui::state(portList), 0);
        EXPECT_FALSE(gui::controlEnabled(connectButton));
        ioctl(other, TIOCNXCL);
        ::close(other);
    }

    pickEntry(portList, 0);
    EXPECT_EQ(entries(portList), (std::vector<std::string>{device.path(), "Обновить..."}));
    EXPECT_TRUE(gui::controlEnabled(connectButton));
    EXPECT_EQ(logLines().back(), "#Combo_SelectCOM:Обновить...");
    pickEntry(portList, 0);
    EXPECT_EQ(logLines().back(), "#Combo_SelectCOM:" + device.path());
}

// Another user's terminal program uses a port without a lock, at its own speed and settings, with
// a line it has not read yet. Its descriptors are hidden from us, so the scan opens the port to
// look (this process's own descriptor plays that program here: ours hold nothing). Scanning lists
// the port and leaves all of that as it was.
TEST_F(CommWindow, TheScanLeavesAPortInUseAsItFoundIt)
{
    PtyPair other;
    ASSERT_FALSE(other.path.empty());
    termios terminal{};
    ASSERT_EQ(tcgetattr(other.slave, &terminal), 0);
    terminal.c_iflag = ICRNL | IXON | IXANY;
    terminal.c_oflag = OPOST | ONLCR;
    terminal.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    terminal.c_cflag = CS8 | CREAD | HUPCL;
    terminal.c_cc[VMIN] = 3;
    terminal.c_cc[VTIME] = 7;
    terminal.c_cc[VERASE] = 0x08;
    ASSERT_EQ(cfsetispeed(&terminal, B19200), 0);
    ASSERT_EQ(cfsetospeed(&terminal, B19200), 0);
    ASSERT_EQ(tcsetattr(other.slave, TCSANOW, &terminal), 0);
    termios before{};
    ASSERT_EQ(tcgetattr(other.slave, &before), 0);
    const std::string unread = "status?\n";
    ASSERT_EQ(::write(other.master, unread.data(), unread.size()), ssize_t(unread.size()));
    int waiting = 0;
    for (int tries = 0; tries < 2000 && waiting < int(unread.size()); ++tries) {
        ioctl(other.slave, FIONREAD, &waiting);
        sysclock::sleep(1);
    }
    ASSERT_EQ(waiting, int(unread.size()));

    setExtraPortCandidates({device.path(), other.path}, true);
    triggerMenu(cmd::commSettings);
    pickEntry(portList, 2);  // "Обновить...": a second scan
    EXPECT_EQ(entries(portList), (std::vector<std::string>{device.path(), other.path, "Обновить..."}));

    termios after{};
    ASSERT_EQ(tcgetattr(other.slave, &after), 0);
    EXPECT_EQ(cfgetispeed(&after), B19200);
    EXPECT_EQ(cfgetospeed(&after), B19200);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(std::memcmp(after.c_cc, before.c_cc, sizeof after.c_cc), 0);
    ioctl(other.slave, FIONREAD, &waiting);
    EXPECT_EQ(waiting, int(unread.size()));
    std::string got(unread.size(), '\0');
    fcntl(other.slave, F_SETFL, O_NONBLOCK);
    EXPECT_EQ(::read(other.slave, got.data(), got.size()), ssize_t(unread.size()));
    EXPECT_EQ(got, unread);
}

TEST_F(CommWindow, OpeningItWhileConnectedKeepsTheConnectedPort)
{
    device.setHoldingRegister(0x5504, 18000);
    connectTo(1);  // Zr24 shares Zr12's identification
    ASSERT_NE(connectedPort, 0);
    setExtraPortCandidates({}, true);
    triggerMenu(cmd::commSettings);
    EXPECT_EQ(gui::text(portList), device.path());
    EXPECT_EQ(gui::text(modelList), "ПЧ Halmer Zr24");
}

TEST_F(CommWindow, CandidatesAreTheSerialDevicesInNameOrder)
{
    const std::filesystem::path dev = folder() + "dev";
    std::filesystem::create_directory(dev);
    for (const char* name : {"ttyS10", "ttyS2", "ttyUSB0", "ttyACM1", "ttyAMA0", "rfcomm0", "tnt3", "ttyS", "ttySX",
                             "tty1", "console", "ttyUSB10", "ttyUSB9"})
        writeFileBytes((dev / name).string(), "");
    const std::string d = dev.string() + "/";
    EXPECT_EQ(serialPortCandidates(dev.string()),
              (std::vector<std::string>{d + "rfcomm0", d + "tnt3", d + "ttyACM1", d + "ttyAMA0", d + "ttyS2", d + "ttyS10",
                                        d + "ttyUSB0", d + "ttyUSB9", d + "ttyUSB10"}));
    EXPECT_TRUE(serialPortCandidates(folder() + "missing").empty());
}

TEST_F(CommWindow, FieldsHelpAndCloseBox)
{
    triggerMenu(cmd::commSettings);
    EXPECT_TRUE(gui::windowVisible(win::comm));
    EXPECT_FALSE(gui::windowEnabled(win::main));

    auto* timeout = qobject_cast<QLineEdit*>(gui::widgetOf(timeoutField));
    ASSERT_NE(timeout, nullptr);
    timeout->selectAll();
    typeInto(timeoutField, "250x");
    EXPECT_EQ(waitTimer, 250);
    timeout->selectAll();
    QTest::keyClick(timeout, Qt::Key_Backspace);
    pump();
    EXPECT_EQ(waitTimer, 0);
    // Past the longest time-out the field shows the bound it keeps to, however many digits follow.
    typeInto(timeoutField, "99999");
    EXPECT_EQ(waitTimer, 10000);
    EXPECT_EQ(gui::text(timeoutField), "10000");
    timeout->selectAll();
    typeInto(timeoutField, "99999999999");
    EXPECT_EQ(waitTimer, 10000);
    EXPECT_EQ(gui::text(timeoutField), "10000");

    QTest::keyClick(gui::widgetOf(attemptsField), Qt::Key_Up);
    pump();
    EXPECT_EQ(repeatCount, 4);

    const auto fixtures = std::filesystem::path(PARAMORA_TEST_FIXTURES).parent_path().parent_path() / "platform/fixtures";
    std::filesystem::copy_file(fixtures / "Help.chm", folder() + "Help.chm");
    clickButton(helpButton);
    EXPECT_EQ(help::shownTopic(), "/Paramora_Connect.htm");
    help::closeHelp();

    gui::windowWidget(win::comm)->close();
    pump();
    EXPECT_FALSE(gui::windowVisible(win::comm));
    EXPECT_TRUE(gui::windowEnabled(win::main));
}

TEST_F(CommWindow, ModelListLoadsWithoutADocumentAndDefaultsFillTheSettings)
{
    triggerMenu(cmd::commSettings);
    pickEntry(modelList, 7);
    EXPECT_EQ(logLines().back(), "#Combo_SelectModel - УПП Tovik Jx9");
    EXPECT_EQ(currentModelName, "УПП Tovik Jx9");
    EXPECT_EQ(documentState, 0);
    EXPECT_EQ(gui::tableRowCount(ctl::table), 0);

    gui::setState(baudList, 0);
    gui::setState(dataBitsList, 0);
    gui::setState(stopBitsList, 2);
    gui::setState(parityList, 4);
    gui::setText(addressField, "17");
    clickButton(defaultsButton);
    EXPECT_EQ(logLines().back(), "#Button_Default");
    EXPECT_EQ(gui::text(baudList), "9600");
    EXPECT_EQ(gui::text(dataBitsList), "8");
    EXPECT_EQ(gui::text(stopBitsList), "1");
    EXPECT_EQ(gui::text(parityList), "Чет (Even)");
    EXPECT_EQ(gui::text(addressField), "1");

    // Zr48's defaults: 2 stop bits, no parity.
    gui::setState(modelList, 2);
    clickButton(defaultsButton);
    EXPECT_EQ(currentModelName, "ПЧ Tovik Zr48");
    EXPECT_EQ(gui::text(stopBitsList), "2");
    EXPECT_EQ(gui::text(parityList), "Нет");
}

TEST_F(CommWindow, AnotherModelWithADocumentOpenAsksFirst)
{
    triggerMenu(cmd::newZr12);
    triggerMenu(cmd::commSettings);
    EXPECT_EQ(gui::text(modelList), "ПЧ Tovik Zr12");

    answers.push_back(gui::Answer::No);
    pickEntry(modelList, 4);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Внимание");
    EXPECT_EQ(messages[0].text, "Текущий открытый файл не соответствует выбранной модели\nЖелаете продолжить и создать новый файл?");
    EXPECT_EQ(messages[0].icon, gui::Icon::Question);
    EXPECT_EQ(gui::text(modelList), "ПЧ Tovik Zr12");
    EXPECT_EQ(currentModelName, "ПЧ Tovik Zr12");

    pickEntry(modelList, 4);  // Yes
    EXPECT_EQ(currentModelName, "ПЧ Tovik Yv20");
    EXPECT_EQ(currentFileName, "New_Yv20.pmr");

    // The same model as the document's: nothing to ask.
    messages.clear();
    pickEntry(modelList, 4);
    EXPECT_TRUE(messages.empty());

    gui::windowWidget(win::comm)->close();
    pump();
    gui::setState(modelList, 0);
    triggerMenu(cmd::commSettings);
    EXPECT_EQ(gui::state(modelList), 4);
}

// The empty document of a model without description keeps the name of the model before it; that
// model's entry must still load it rather than count as the document's own.
TEST_F(CommWindow, TheListLoadsTheModelAnEmptyDocumentIsNamedAfter)
{
    triggerMenu(cmd::newZr12);
    ASSERT_EQ(newDocument("ПЧ Tovik Zr36"), 1);
    ASSERT_EQ(gui::tableRowCount(ctl::table), 0);
    triggerMenu(cmd::commSettings);
    pickEntry(modelList, entryOf(modelList, "ПЧ Tovik Zr12"));  // Yes to the question
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Внимание");
    EXPECT_EQ(currentFileName, "New_Zr12.pmr");
    EXPECT_GT(gui::tableRowCount(ctl::table), 0);
}

// Only the user's own pick in a list is logged and handled: a list opened and closed with Escape,
// and the model the program selects again after "Нет", raise nothing, even as the list gets the
// keyboard back from its popup and from the question box.
TEST_F(CommWindow, OnlyAnEntryTheUserPicksIsLogged)
{
    triggerMenu(cmd::newZr12);
    triggerMenu(cmd::commSettings);
    std::size_t seen = logLines().size();
    auto newListLines = [&] {
        std::vector<std::string> lines;
        const std::vector<std::string> all = logLines();
        for (std::size_t i = seen; i < all.size(); ++i)
            if (all[i].starts_with("#Combo_Select"))
                lines.push_back(all[i]);
        seen = all.size();
        return lines;
    };
    auto combo = [](int list) { return qobject_cast<QComboBox*>(gui::widgetOf(list)); };
    auto openList = [&](int list) {
        QTest::mouseClick(combo(list), Qt::LeftButton);
        pump();
        ASSERT_TRUE(combo(list)->view()->isVisible());
    };
    // The popup ignores a click that comes as soon as it opens (the release of the opening click).
    auto chooseInList = [&](int list, int position) {
        QAbstractItemView* view = combo(list)->view();
        view->setCurrentIndex(view->model()->index(position, 0));
        QTest::keyClick(view, Qt::Key_Return);
        pump();
    };

    for (int list : {modelList, portList}) {
        SCOPED_TRACE(list);
        openList(list);
        QTest::keyClick(combo(list)->view(), Qt::Key_Escape);
        pump();
        EXPECT_FALSE(combo(list)->view()->isVisible());
        EXPECT_EQ(newListLines(), std::vector<std::string>{});
    }

    // A real question box, answered with its button.
    gui::setMessageBoxResponder({});
    const char* answer = "Нет";
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible())
            for (QAbstractButton* button : box->buttons())
                if (button->text() == QString::fromUtf8(answer))
                    QTest::mouseClick(button, Qt::LeftButton);
    });
    answering.start(10);
    openList(modelList);
    chooseInList(modelList, 4);
    EXPECT_EQ(gui::text(modelList), "ПЧ Tovik Zr12");
    EXPECT_EQ(currentModelName, "ПЧ Tovik Zr12");
    EXPECT_EQ(newListLines(), std::vector<std::string>{"#Combo_SelectModel - ПЧ Tovik Yv20"});

    answer = "Да";
    openList(modelList);
    chooseInList(modelList, 4);
    EXPECT_EQ(currentModelName, "ПЧ Tovik Yv20");
    EXPECT_EQ(newListLines(), std::vector<std::string>{"#Combo_SelectModel - ПЧ Tovik Yv20"});
}

}  // namespace
