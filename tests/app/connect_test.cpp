// Connect with the identification read, its three warnings, and Disconnect, through the Comm
// Window's real controls and the simulated device.

#include <gtest/gtest.h>

#include <QLineEdit>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include <unistd.h>
#include <vector>

#include "app/comm_window.h"
#include "app/program_shell.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "link/modbus_request.h"
#include "link/request_limits.h"
#include "link/serial_link.h"
#include "platform/serial/lock_files.h"
#include "tests/support/device_app_harness.h"
#include "tests/support/open_watch.h"
#include "tests/support/other_process_holding.h"
#include "tests/support/trace_text.h"

namespace {

using namespace commctl;

const int settingsControls[] = {baudList, dataBitsList, parityList, stopBitsList, portList, addressField, modelList,
                                defaultsButton};

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class Connect : public DeviceAppTest {
protected:
    void expectDisconnectedControls(bool modeListEnabled)
    {
        EXPECT_EQ(connectedPort, 0);
        EXPECT_FALSE(serial::isOpen(serialPort));
        EXPECT_TRUE(gui::controlEnabled(connectButton));
        EXPECT_FALSE(gui::controlEnabled(disconnectButton));
        for (int id : settingsControls)
            EXPECT_TRUE(gui::controlEnabled(id)) << id;
        EXPECT_EQ(gui::controlEnabled(modeList), modeListEnabled);
        EXPECT_FALSE(gui::controlEnabled(ctl::readAllButton));
        EXPECT_FALSE(gui::controlEnabled(ctl::writeAllButton));
        EXPECT_TRUE(gui::menuItemEnabled(cmd::fileOpen));
        EXPECT_FALSE(gui::menuItemEnabled(cmd::disconnect));
    }
};

TEST_F(Connect, AMatchingIdentificationConnectsAndDisconnectRestoresEveryControl)
{
    device.setHoldingRegister(0x5504, 18000);
    expectDisconnectedControls(false);
    connectTo(0);

    EXPECT_EQ(connectedPort, entryOf(portList, device.path()) + 1);
    EXPECT_TRUE(serial::isOpen(serialPort));
    EXPECT_EQ(modbusRequest.mode, "RTU");
    ASSERT_EQ(device.requests().size(), 1u);
    EXPECT_EQ(device.requests()[0], crcFrame("01 03 55 04 00 01"));
    const std::vector<std::string> trace = traceLines();
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace[0], "Проверка соответствия типа оборудования");
    EXPECT_EQ(trace[1], "Запрос 1: " + frameWithCrc("01 03 55 04 00 01"));

    EXPECT_FALSE(gui::windowVisible(win::comm));
    EXPECT_TRUE(gui::windowEnabled(win::main));
    EXPECT_FALSE(gui::controlEnabled(connectButton));
    EXPECT_TRUE(gui::controlEnabled(disconnectButton));
    for (int id : settingsControls)
        EXPECT_FALSE(gui::controlEnabled(id)) << id;
    EXPECT_FALSE(gui::controlEnabled(modeList));
    EXPECT_TRUE(gui::controlEnabled(ctl::readAllButton));
    EXPECT_TRUE(gui::controlEnabled(ctl::writeAllButton));
    EXPECT_FALSE(gui::menuItemEnabled(cmd::fileOpen));
    EXPECT_TRUE(gui::menuItemEnabled(cmd::disconnect));
    // No document was open: Connect starts one of the chosen model.
    EXPECT_EQ(documentState, 1);
    EXPECT_EQ(currentFileName, "New_Zr12.pmr");
    EXPECT_EQ(currentModelName, "ПЧ Tovik Zr12");

    triggerMenu(cmd::disconnect);
    expectDisconnectedControls(true);
    EXPECT_FALSE(gui::windowVisible(win::comm));
    const std::vector<std::string> log = logLines();
    for (const char* tag : {"#MenuItem_Communication", "#Button_Connect", "#Button_Disconnect"})
        EXPECT_TRUE(contains(log, tag)) << tag;

    // From the disconnected state Connect works as from the start, also from the Comm Window's button.
    connectTo(0);
    EXPECT_NE(connectedPort, 0);
    triggerMenu(cmd::commSettings);
    clickButton(disconnectButton);
    expectDisconnectedControls(true);
}

TEST_F(Connect, EachFailedIdentificationWarnsLogsAndClosesThePort)
{
    struct Case {
        const char* name;
        Fault fault;
        std::uint16_t identValue;
        const char* logLine;
        const char* warning;
    };
    const Case cases[] = {
        {"CRC", Fault::badCrc(), 18000, "Modbus\\status=1", "Неправильная контрольная сумма в ответе"},
        {"time-out", Fault::noReply(), 18000, "Modbus\\status=2", "Превышено время ожидания\rОборудование не отвечает"},
        {"mismatch", Fault{}, 17999, "Modbus\\status>2",
         "Несоответствие типа оборудования или ошибка связи!\rПодробности в мониторе.\rДля корректного подключения, "
         "остановите ПЧ,\rесли он запущен."},
        {"exception", Fault::exception(2), 18000, "Modbus\\status>2", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        device.setHoldingRegister(0x5504, c.identValue);
        device.queueFault(c.fault, 3);
        waitTimer = c.fault.silent ? 60 : 5000;  // only the silent device's attempts are to time out
        connectTo(0);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, "Предупреждение");
        EXPECT_EQ(messages[0].icon, gui::Icon::Warning);
        if (c.warning) {
            EXPECT_EQ(messages[0].text, c.warning);
        }
        EXPECT_EQ(logLines().back(), c.logLine);
        expectDisconnectedControls(false);
        // The window stays up over the disabled Main Window, and no document was started.
        EXPECT_TRUE(gui::windowVisible(win::comm));
        EXPECT_FALSE(gui::windowEnabled(win::main));
        EXPECT_EQ(documentState, 0);
        EXPECT_EQ(currentModelName, "ПЧ Tovik Zr12");
        device.clearFaults();
    }
    // The time-out case traced all three attempts.
    const std::vector<std::string> trace = traceLines();
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "Превышено время ожидания"), 3);
}

// Out-of-range link values in the settings file: the Comm Window shows the bounds and Connect
// uses them. The time-out is then typed down so that five silent attempts stay quick.
TEST_F(Connect, TheCommWindowShowsTheLinkLimitsConnectUses)
{
    endProgram();
    std::string settings = validSettingsFile(folder(), 1);
    settings.replace(settings.find("waitTimer = 100"), 15, "waitTimer = 99999");
    settings.replace(settings.find("repeatCount = 3"), 15, "repeatCount = 9");
    writeFileBytes("Paramora.ini", settings);
    ASSERT_TRUE(startProgram());
    pump();

    triggerMenu(cmd::commSettings);
    EXPECT_EQ(gui::text(timeoutField), "10000");
    EXPECT_EQ(gui::state(attemptsField), 5);
    EXPECT_EQ(waitTimer, 10000);
    EXPECT_EQ(repeatCount, 5);

    qobject_cast<QLineEdit*>(gui::widgetOf(timeoutField))->selectAll();
    typeInto(timeoutField, "20");
    ASSERT_EQ(waitTimer, 20);
    device.queueFault(Fault::noReply(), 10);
    connectTo(0);
    const std::vector<std::string> trace = traceLines();
    const auto requests =
        std::count_if(trace.begin(), trace.end(), [](const std::string& line) { return line.starts_with("Запрос "); });
    EXPECT_EQ(requests, 5);
    EXPECT_EQ(logLines().back(), "Modbus\\status=2");
}

// The port goes away in the identification's reply: the one message of a port found gone, then
// the failed identification's own warning; the port is closed and nothing is connected.
TEST_F(Connect, APortLostDuringTheIdentificationEndsItAtOnce)
{
    device.setHoldingRegister(0x5504, 18000);
    device.queueFault(Fault::vanish(3));
    connectTo(0);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].title, "Ошибка");
    EXPECT_EQ(messages[0].text, "Текущий порт недоступен!");
    EXPECT_EQ(messages[0].icon, gui::Icon::Error);
    EXPECT_EQ(messages[1].title, "Предупреждение");
    EXPECT_EQ(logLines().back(), "Modbus\\status>2");
    expectDisconnectedControls(false);
    EXPECT_EQ(device.requests().size(), 1u);
    const std::vector<std::string> trace = traceLines();
    EXPECT_TRUE(requestLinesEndAtTheLoss(trace, 1)) << requestLineCount(trace);
}

TEST_F(Connect, APortThatDoesNotOpenChangesNothing)
{
    triggerMenu(cmd::commSettings);
    const std::string path = device.path();
    device.stop();
    clickButton(connectButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Ошибка");
    EXPECT_EQ(messages[0].text, "Невозможно открыть порт " + path);
    EXPECT_EQ(messages[0].icon, gui::Icon::Warning);
    EXPECT_TRUE(traceLines().empty());
    expectDisconnectedControls(false);
}

// Another program holds the port, through a lock file or merely by having it open: the scan leaves
// it out, and a Connect made after the other program took it does not even open it.
TEST_F(Connect, APortAnotherProgramHoldsIsNeitherListedNorOpened)
{
    std::filesystem::create_directory(folder() + "lock");
    serial::setLockFolders({folder() + "lock"});
    const std::string lock = folder() + "lock/LCK.." + std::filesystem::path(device.path()).filename().string();
    std::optional<OtherProcessHolding> other;
    struct Holder {
        const char* name;
        std::function<void()> take;
        std::function<void()> release;
    };
    const Holder holders[] = {
        {"lock file", [&] { writeFileBytes(lock, std::to_string(getppid()) + "\n"); },
         [&] { std::filesystem::remove(lock); }},
        {"plain open", [&] { ASSERT_TRUE(other.emplace(device.path()).holding()); }, [&] { other.reset(); }},
    };
    OpenWatch watch(device.path());
    ASSERT_TRUE(watch.watching());
    for (const Holder& holder : holders) {
        SCOPED_TRACE(holder.name);
        messages.clear();
        holder.take();
        watch.openedSinceLastLook();
        triggerMenu(cmd::commSettings);
        EXPECT_EQ(entryOf(portList, device.path()), -1);
        EXPECT_FALSE(gui::controlEnabled(connectButton));

        holder.release();
        pickEntry(portList, entryOf(portList, "Обновить..."));
        ASSERT_GE(entryOf(portList, device.path()), 0);
        holder.take();
        watch.openedSinceLastLook();
        gui::setState(portList, entryOf(portList, device.path()));
        clickButton(connectButton);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Невозможно открыть порт " + device.path());
        expectDisconnectedControls(false);
        EXPECT_TRUE(device.requests().empty());
        EXPECT_FALSE(watch.openedSinceLastLook());
        holder.release();
        gui::windowWidget(win::comm)->close();
        pump();
    }
}

TEST_F(Connect, WithADocumentOpenItIdentifiesTheDocumentsModel)
{
    triggerMenu(cmd::newZr48);
    device.setHoldingRegister(23, 9261);
    triggerMenu(cmd::commSettings);
    EXPECT_EQ(gui::text(modelList), "ПЧ Tovik Zr48");
    connectTo(0);  // the list shows Zr12; the Zr48 document decides
    EXPECT_NE(connectedPort, 0);
    ASSERT_FALSE(device.requests().empty());
    EXPECT_EQ(device.requests()[0], crcFrame("01 03 00 17 00 01"));
    EXPECT_EQ(currentFileName, "New_Zr48.pmr");
}

}  // namespace

// Every line setting the Comm Window offers connects every time on a pseudo-terminal, the port
// socat and simulators give: each one twice in a row, and after each other one.
TEST_F(Connect, EveryLineSettingConnectsEveryTime)
{
    device.setHoldingRegister(0x5504, 18000);
    triggerMenu(cmd::commSettings);
    int connects = 0;
    for (int parity = 0; parity < gui::itemCount(parityList); ++parity)
        for (const char* dataBits : {"7", "8"})
            for (const char* stopBits : {"1", "2"})
                for (int cycle = 1; cycle <= 2; ++cycle) {
                    SCOPED_TRACE(gui::itemText(parityList, parity) + ", " + dataBits + " data bits, " + stopBits
                                 + " stop bits, Connect " + std::to_string(cycle));
                    messages.clear();
                    triggerMenu(cmd::commSettings);
                    gui::setState(parityList, parity);
                    gui::setState(dataBitsList, entryOf(dataBitsList, dataBits));
                    gui::setState(stopBitsList, entryOf(stopBitsList, stopBits));
                    connectTo(0);
                    ++connects;
                    EXPECT_TRUE(messages.empty()) << messages.front().text;
                    EXPECT_NE(connectedPort, 0);
                    EXPECT_EQ(portParity, gui::itemData(parityList, parity));
                    EXPECT_EQ(portDataBits, std::stoi(dataBits));
                    EXPECT_EQ(portStopBits, std::stof(stopBits));
                    triggerMenu(cmd::disconnect);
                }
    EXPECT_EQ(device.requests().size(), static_cast<std::size_t>(connects));
}
