#include "link/modbus_frames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "link_test_buffers.h"

namespace {

ModbusRequest request(std::uint16_t address, std::uint16_t table, std::uint16_t start, std::uint16_t count,
                      std::initializer_list<std::uint16_t> values = {})
{
    ModbusRequest r;
    r.deviceAddress = address;
    r.registerTable = table;
    r.startRegister = start;
    r.count = count;
    int i = 0;
    for (std::uint16_t v : values)
        r.values[i++] = v;
    return r;
}

struct FrameCase {
    const char* name;
    ModbusRequest request;
    bool write;
    const char* bytes;
};

using Frames = LinkBuffersFixture;

TEST_F(Frames, EveryFunctionLaysOutItsBytesExactly)
{
    const FrameCase cases[] = {
        {"read holding", request(1, 4, 0x000A, 1), false, "01 03 00 0A 00 01 A4 08"},
        {"read holding, three", request(0x11, 4, 0x006B, 3), false, "11 03 00 6B 00 03 76 87"},
        {"read coils", request(1, 0, 0x0013, 10), false, "01 01 00 13 00 0A 4D C8"},
        {"read discrete inputs", request(1, 1, 0x00C4, 16), false, "01 02 00 C4 00 10 38 3B"},
        {"read input registers", request(1, 3, 0x0008, 1), false, "01 04 00 08 00 01 B0 08"},
        {"address low byte only", request(0x01F7, 4, 0xFFFF, 16), false, "F7 03 FF FF 00 10 50 B4"},
        {"coil on", request(1, 0, 0, 1, {1}), true, "01 05 00 00 FF 00 8C 3A"},
        {"coil off", request(1, 0, 0, 1, {0}), true, "01 05 00 00 00 00 CD CA"},
        {"register", request(1, 4, 0x000A, 1, {0x1234}), true, "01 06 00 0A 12 34 A4 BF"},
        {"ten coils", request(1, 0, 0x0013, 10, {1, 0, 1, 1, 0, 0, 7, 1, 1, 0}), true,
         "01 0F 00 13 00 0A 02 CD 01 72 CB"},
        {"nine coils, last alone", request(1, 0, 0, 9, {0, 0, 0, 0, 0, 0, 0, 0, 1}), true,
         "01 0F 00 00 00 09 02 00 01 24 BC"},
        {"two registers", request(0x11, 4, 0x0001, 2, {0x000A, 0x0102}), true,
         "11 10 00 01 00 02 04 00 0A 01 02 C6 F0"},
        {"sixteen registers",
         request(1, 4, 0, 16,
                 {0x0000, 0x1111, 0x2222, 0x3333, 0x4444, 0x5555, 0x6666, 0x7777, 0x8888, 0x9999, 0xAAAA, 0xBBBB,
                  0xCCCC, 0xDDDD, 0xEEEE, 0xFFFF}),
         true,
         "01 10 00 00 00 10 20 0000 1111 2222 3333 4444 5555 6666 7777 8888 9999 AAAA BBBB CCCC DDDD EEEE FFFF "
         "9D EC"},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::memset(outgoingBuffer, 0xEE, linkBufferSize);
        const std::vector<std::uint8_t> expected = hexBytes(c.bytes);
        const int length = c.write ? buildWriteFrame(c.request) : buildReadFrame(c.request);
        ASSERT_EQ(length, static_cast<int>(expected.size()));
        EXPECT_EQ(sent(length), expected);
        EXPECT_EQ(outgoingBuffer[length], 0xEE);  // nothing written after the frame
    }
}

TEST_F(Frames, RequestsWithoutAFrameBuildNothing)
{
    const FrameCase cases[] = {
        {"write discrete input", request(1, 1, 0, 1, {1}), true, ""},
        {"write input register", request(1, 3, 0, 1, {1}), true, ""},
        {"unknown table", request(1, 2, 0, 1), false, ""},
        {"count 0", request(1, 4, 0, 0), false, ""},
        {"count 17", request(1, 4, 0, 17), true, ""},
        {"count 17 coils", request(1, 0, 0, 17), true, ""},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::memset(outgoingBuffer, 0xEE, linkBufferSize);
        EXPECT_EQ(c.write ? buildWriteFrame(c.request) : buildReadFrame(c.request), 0);
        EXPECT_EQ(outgoingBuffer[0], 0xEE);
    }
}

TEST(FrameFunctions, FollowTableAndDirection)
{
    EXPECT_EQ(readFunctionCode(0), 1);
    EXPECT_EQ(readFunctionCode(1), 2);
    EXPECT_EQ(readFunctionCode(3), 4);
    EXPECT_EQ(readFunctionCode(4), 3);
    EXPECT_EQ(readFunctionCode(2), 0);
    EXPECT_EQ(writeFunctionCode(0, 1), 5);
    EXPECT_EQ(writeFunctionCode(0, 2), 15);
    EXPECT_EQ(writeFunctionCode(4, 1), 6);
    EXPECT_EQ(writeFunctionCode(4, 16), 16);
    EXPECT_EQ(writeFunctionCode(1, 1), 0);
    EXPECT_EQ(writeFunctionCode(3, 1), 0);
}

TEST(FrameFunctions, NoBufferNoFrame)
{
    releaseLinkBuffers();
    EXPECT_EQ(buildReadFrame(request(1, 4, 0, 1)), 0);
    EXPECT_EQ(buildWriteFrame(request(1, 4, 0, 1, {5})), 0);
}

TEST(ReplyFields, RegisterWordsAreBigEndianAndBitsLeastSignificantFirst)
{
    const auto registers = hexBytes("01 03 04 12 34 AB CD 00 00");
    EXPECT_EQ(readReplyValue(registers.data(), 9, 3, 0), 0x1234);
    EXPECT_EQ(readReplyValue(registers.data(), 9, 4, 1), 0xABCD);

    const auto coils = hexBytes("01 01 02 CD 01 00 00");
    const std::uint16_t expected[] = {1, 0, 1, 1, 0, 0, 1, 1, 1, 0};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(readReplyValue(coils.data(), 7, 1, i), expected[i]) << i;
        EXPECT_EQ(readReplyValue(coils.data(), 7, 2, i), expected[i]) << i;
    }
}

TEST(ReplyFields, BytesBeyondTheReplyReadZero)
{
    const auto shortReply = hexBytes("01 03 02 12 34 FF FF FF");
    EXPECT_EQ(readReplyValue(shortReply.data(), 4, 3, 0), 0x1200);
    EXPECT_EQ(readReplyValue(shortReply.data(), 3, 3, 0), 0x0000);
    EXPECT_EQ(readReplyValue(shortReply.data(), 5, 3, 1), 0x0000);
    EXPECT_EQ(readReplyValue(shortReply.data(), 3, 1, 0), 0);
    EXPECT_EQ(readReplyValue(shortReply.data(), 4, 1, 8), 0);
    EXPECT_EQ(readReplyValue(nullptr, 4, 3, 0), 0);
}

}  // namespace
