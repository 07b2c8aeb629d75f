// The soft starter end to end: its four register tables are read with functions 1, 2, 4 and 3,
// coils are written with function 5 and holding registers with function 6, and nothing is ever
// written to discrete inputs or input registers.

#include <gtest/gtest.h>

#include <string>

#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "link/request_limits.h"
#include "tests/support/device_app_harness.h"
#include "tests/support/trace_text.h"

namespace {

class Jx9EndToEnd : public DeviceAppTest {
protected:
    void SetUp() override
    {
        DeviceAppTest::SetUp();
        device.setHoldingRegister(3, 65535);
        connectTo(7);
        ASSERT_NE(connectedPort, 0);
        ASSERT_EQ(currentModelName, "УПП Tovik Jx9");
        // The device answers at once; the requests are counted below, and a busy machine must
        // not turn a slow answer into one more attempt.
        waitTimer = 5000;
        device.clearRequests();
    }

    std::string readCell(const std::string& code) { return gui::cellText(ctl::table, rowOfCode(code), column::read); }

    void writeOne(const std::string& code, std::int32_t value)
    {
        findParameterByCode(code)->setValue = value;
        currentRow = rowOfCode(code);
        gui::postEvent({gui::EventKind::Menu, win::main, cmd::writeCurrent, gui::EventType::None});
        pump();
    }
};

TEST_F(Jx9EndToEnd, ReadAllUsesEachTablesFunctionAndShowsBitsAsZeroOrOne)
{
    device.setCoil(0, true);           // 00001 "Пуск/Стоп"
    device.setCoil(1, true);           // 00002 reserved
    device.setDiscreteInput(0, true);  // 10001
    device.setDiscreteInput(4, true);  // 10005 reserved
    device.setInputRegister(0, 1234);
    device.setHoldingRegister(findParameterByCode("40007")->address, 150);

    clickButton(ctl::readAllButton);  // "Все параметры": asked, answered Yes
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(requestsWithFunction(device.requests(), 1), 8);
    EXPECT_EQ(requestsWithFunction(device.requests(), 2), 8);
    EXPECT_EQ(requestsWithFunction(device.requests(), 4), 25);
    EXPECT_EQ(requestsWithFunction(device.requests(), 3), 15);
    EXPECT_EQ(device.requests().size(), 56u);
    EXPECT_EQ(gui::progress(win::main), 56);

    EXPECT_EQ(readCell("00001"), "1: Пуск");
    EXPECT_EQ(readCell("00002"), "1");
    EXPECT_EQ(readCell("00003"), "0");
    EXPECT_EQ(readCell("10001"), "1: Включено");
    EXPECT_EQ(readCell("10005"), "1");
    EXPECT_EQ(readCell("10006"), "0");
    EXPECT_EQ(readCell("40007"), "150");
    EXPECT_EQ(findParameterByCode("30001")->readValue, 1234);
    for (const Parameter& p : parameters) {
        if (p.registerTable == tableCoils || p.registerTable == tableDiscreteInputs) {
            EXPECT_TRUE(p.readValue == 0 || p.readValue == 1) << p.code;
        }
    }
}

TEST_F(Jx9EndToEnd, CoilsAreWrittenWithFunctionFiveAndRegistersWithSix)
{
    writeOne("00001", 1);
    writeOne("00001", 0);
    writeOne("40007", 175);
    ASSERT_EQ(device.requests().size(), 3u);
    EXPECT_EQ(device.requests()[0], crcFrame("01 05 00 00 FF 00"));
    EXPECT_EQ(device.requests()[1], crcFrame("01 05 00 00 00 00"));
    const std::uint16_t address = findParameterByCode("40007")->address;
    EXPECT_EQ(device.requests()[2][1], 6);
    EXPECT_EQ((device.requests()[2][2] << 8) | device.requests()[2][3], address);
    EXPECT_EQ(device.holdingRegister(address), 175);
    EXPECT_FALSE(device.coil(0));

    // Write all over every parameter: the writable coils and holding registers only.
    device.clearRequests();
    clickButton(ctl::writeAllButton);
    int writableCoils = 0, writableRegisters = 0;
    for (const Parameter& p : parameters) {
        EXPECT_TRUE(p.access == 0 || p.registerTable == tableCoils || p.registerTable == tableHoldingRegisters) << p.code;
        if (p.access != 0)
            ++(p.registerTable == tableCoils ? writableCoils : writableRegisters);
    }
    EXPECT_EQ(writableCoils, 8);
    EXPECT_EQ(writableRegisters, 13);
    EXPECT_EQ(requestsWithFunction(device.requests(), 5), writableCoils);
    EXPECT_EQ(requestsWithFunction(device.requests(), 6), writableRegisters);
    EXPECT_EQ(static_cast<int>(device.requests().size()), writableCoils + writableRegisters);
    EXPECT_EQ(gui::progress(win::main), 56);  // the read-only rows count too
}

}  // namespace
