// What the link reports reaches the user as the program installs it at start-up: trace lines in
// the log and the Monitor Window, its failures in error boxes.

#include <gtest/gtest.h>

#include "app/log_file.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "link/link_buffers.h"
#include "link/modbus_engine.h"
#include "link/modbus_request.h"
#include "link/modbus_status.h"
#include "link/serial_link.h"
#include "link/trace.h"
#include "tests/support/app_harness.h"

namespace {

using LinkReports = AppTest;

TEST_F(LinkReports, TraceLinesGoToTheLogAndTheMonitorWindow)
{
    logOut = 1;
    traceLine("Запрос 1: 01 03 00 0A 00 01 A4 08 ");
    closeLogFile();
    EXPECT_EQ(gui::text(ctl::traceText), "Запрос 1: 01 03 00 0A 00 01 A4 08 ");
    const std::string log = readFileBytes("Paramora.log");
    EXPECT_NE(log.find(" = Запрос 1: 01 03 00 0A 00 01 A4 08 \r\n"), std::string::npos) << log;
}

TEST_F(LinkReports, FailuresShowErrorBoxes)
{
    closeSerialPort();
    modbusRead();
    EXPECT_EQ(modbusRequest.status, statusPortNotOpen);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Ошибка");
    EXPECT_EQ(messages[0].text, "Текущий порт недоступен!");
    EXPECT_EQ(messages[0].icon, gui::Icon::Error);
    EXPECT_EQ(messages[0].buttons, gui::Buttons::Ok);

    messages.clear();
    releaseLinkBuffers();
    allocateLinkBuffers([](std::size_t) -> std::uint8_t* { return nullptr; });
    ASSERT_EQ(messages.size(), 2u);
    for (const gui::MessageBoxCall& box : messages) {
        EXPECT_EQ(box.title, "");
        EXPECT_EQ(box.icon, gui::Icon::Error);
        EXPECT_EQ(box.buttons, gui::Buttons::Ok);
    }
    EXPECT_EQ(messages[0].text, "Ошибка выделения исходящего буфера памяти");
    EXPECT_EQ(messages[1].text, "Ошибка выделения входящего буфера памяти");
}

}  // namespace
