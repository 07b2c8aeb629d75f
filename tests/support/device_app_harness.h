#pragma once
// The whole program (AppTest) with a simulated device on a pseudo-terminal as its only serial
// port. The link buffers carry guard bytes, checked after every test; trace and log lines are
// read back without their time stamps.

#include <string>
#include <vector>

#include "tests/support/app_harness.h"
#include "tests/support/simulated_device.h"

class DeviceAppTest : public AppTest {
protected:
    explicit DeviceAppTest(DeviceOptions options = {.baud = 115200}) : device(options) {}
    void SetUp() override;
    void TearDown() override;

    // "Настройки связи", the device's port at 115200 baud, the model at this position of the
    // model list and the mode at this one (0 RTU, 1 ASCII), then a click on "Подключить".
    void connectTo(int modelPosition, int modePosition = 0);
    // Picks a list entry as the user does (the list raises its event).
    void pickEntry(int comboId, int position);
    int entryOf(int comboId, const std::string& text);

    // The Monitor Window's trace, line by line, and the lines after the first `mark` of them
    // (mark = traceLines().size() before an action gives that action's lines).
    std::vector<std::string> traceLines() const;
    std::vector<std::string> traceSince(std::size_t mark) const;
    // Paramora.log's lines without their time stamps (logging is on in these tests).
    std::vector<std::string> logLines() const;

    SimulatedDevice device;
};

// Request frames the device received, by function code.
int requestsWithFunction(const std::vector<Bytes>& requests, int function);
