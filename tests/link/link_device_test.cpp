#include "tests/link/link_device_test.h"

#include "description/description_store.h"
#include "devices/zr12/loaders.h"
#include "link/line_settings.h"
#include "link/link_sink.h"
#include "link/modbus_request.h"
#include "link/request_limits.h"
#include "link/serial_link.h"
#include "tests/link/link_test_buffers.h"
#include "tests/support/trace_text.h"

void LinkDeviceTest::SetUp()
{
    ASSERT_TRUE(device.start());
    installLinkSink({
        .traceLine = [this](std::string_view line) { trace.emplace_back(line); },
        .portUnavailable = [this](std::string_view text) { unavailablePortTexts.emplace_back(text); },
        .bufferNotAllocated = {},
    });
    releaseLinkBuffers();
    allocateLinkBuffers(allocateGuarded);
    clearDeviceDescription();
    loadDescriptionZr12();
    // The device answers at once, and however busy the machine, no attempt may time out unless a
    // test makes the device silent; such a test sets a short time-out for itself.
    waitTimer = 5000;
    repeatCount = 3;
    portBaud = 115200;
    portParity = 0;
    portDataBits = 8;
    portStopBits = 1.0f;
    openDevicePort();
}

void LinkDeviceTest::TearDown()
{
    EXPECT_TRUE(guardsIntact(outgoingBuffer));
    EXPECT_TRUE(guardsIntact(incomingBuffer));
    closeSerialPort();
    releaseLinkBuffers();
    installLinkSink({});
    clearDeviceDescription();
    device.stop();
}

void LinkDeviceTest::openDevicePort(const char* mode)
{
    closeSerialPort();
    ASSERT_TRUE(serial::open(serialPort, device.path(), currentLineSettings()));
    modbusRequest.mode = mode;
}

std::vector<std::string> LinkDeviceTest::traceSince(std::size_t mark) const { return linesSince(trace, mark); }
