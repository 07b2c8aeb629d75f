#pragma once
// The link alone against the simulated device on a pseudo-terminal: no window, no document. The
// program's port is opened as Connect opens it (115200 baud unless a test changes it), the link
// buffers carry guard bytes checked after every test, the Zr12 description gives the error rows,
// and a sink keeps what the link reports.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "tests/support/simulated_device.h"

class LinkDeviceTest : public ::testing::Test {
protected:
    explicit LinkDeviceTest(DeviceOptions options = {.baud = 115200}) : device(options) {}
    void SetUp() override;
    void TearDown() override;

    // Opens the program's port on the device with the current line settings and sets the
    // request's mode ("RTU" or "ASCII"), as a successful Connect leaves them.
    void openDevicePort(const char* mode = "RTU");

    // The trace lines the link has reported, and those after the first `mark` of them.
    const std::vector<std::string>& traceLines() const { return trace; }
    std::vector<std::string> traceSince(std::size_t mark) const;

    SimulatedDevice device;
    std::vector<std::string> trace;
    std::vector<std::string> unavailablePortTexts;  // what portUnavailable was told, in order
};
