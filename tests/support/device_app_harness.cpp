#include "tests/support/device_app_harness.h"

#include <QComboBox>


#include "app/comm_window.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "link/port_scan.h"
#include "platform/serial/lock_files.h"
#include "tests/link/link_test_buffers.h"
#include "tests/support/trace_text.h"

namespace {

// Every piece between separators, the last one too, even when it is empty.
std::vector<std::string> splitLines(const std::string& text, const std::string& separator)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

}  // namespace

void DeviceAppTest::SetUp()
{
    ASSERT_TRUE(device.start());
    setExtraPortCandidates({device.path()}, true);
    AppTest::SetUp();
    releaseLinkBuffers();
    allocateLinkBuffers(allocateGuarded);
    logOut = 1;
    // The device answers at once, and however busy the machine, no attempt may time out unless a
    // test makes the device silent; such a test sets a short time-out for itself.
    waitTimer = 5000;
    repeatCount = 3;
}

void DeviceAppTest::TearDown()
{
    EXPECT_TRUE(guardsIntact(outgoingBuffer));
    EXPECT_TRUE(guardsIntact(incomingBuffer));
    AppTest::TearDown();
    releaseLinkBuffers();
    setExtraPortCandidates({}, false);
    serial::setLockFolders({});
    device.stop();
}

void DeviceAppTest::connectTo(int modelPosition, int modePosition)
{
    triggerMenu(cmd::commSettings);
    const int port = entryOf(commctl::portList, device.path());
    ASSERT_GE(port, 0) << "the device's port is not listed";
    gui::setState(commctl::portList, port);
    gui::setState(commctl::baudList, 7);
    gui::setState(commctl::modelList, modelPosition);
    gui::setState(commctl::modeList, modePosition);
    clickButton(commctl::connectButton);
}

void DeviceAppTest::pickEntry(int comboId, int position)
{
    auto* combo = qobject_cast<QComboBox*>(gui::widgetOf(comboId));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(position);
    emit combo->activated(position);
    pump();
}

int DeviceAppTest::entryOf(int comboId, const std::string& text)
{
    for (int i = 0; i < gui::itemCount(comboId); ++i)
        if (gui::itemText(comboId, i) == text)
            return i;
    return -1;
}

std::vector<std::string> DeviceAppTest::traceLines() const
{
    const std::string text = gui::text(ctl::traceText);
    return text.empty() ? std::vector<std::string>{} : splitLines(text, "\n");
}

std::vector<std::string> DeviceAppTest::traceSince(std::size_t mark) const
{
    return linesSince(traceLines(), mark);
}

std::vector<std::string> DeviceAppTest::logLines() const
{
    std::vector<std::string> lines;
    std::vector<std::string> raw = splitLines(readFileBytes("Paramora.log"), "\r\n");
    raw.pop_back();  // after the last line end
    for (const std::string& line : raw)
        lines.push_back(line.size() >= 20 ? line.substr(20) : line);  // "dd/mm/yy hh:mm:ss = "
    return lines;
}

int requestsWithFunction(const std::vector<Bytes>& requests, int function)
{
    int count = 0;
    for (const Bytes& request : requests)
        if (request.size() > 1 && request[1] == function)
            ++count;
    return count;
}
