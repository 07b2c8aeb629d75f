#include "link/crc16.h"

#include <gtest/gtest.h>

#include <cstring>

#include "link_test_buffers.h"

namespace {

TEST(Crc16, MatchesPublishedVectors)
{
    const auto check = reinterpret_cast<const std::uint8_t*>("123456789");
    EXPECT_EQ(crc16Modbus(check, 9), 0x4B37);
    EXPECT_EQ(crc16Modbus(check, 0), 0xFFFF);
    const auto frame = hexBytes("11 03 00 6B 00 03");
    EXPECT_EQ(crc16Modbus(frame.data(), frame.size()), 0x8776);  // sent as 76 87
}

using CrcBuffers = LinkBuffersFixture;

TEST_F(CrcBuffers, AppendStoresLowByteFirstAfterTheFrame)
{
    const auto frame = hexBytes("01 03 00 00 00 0A");
    std::memset(outgoingBuffer, 0xEE, linkBufferSize);
    std::copy(frame.begin(), frame.end(), outgoingBuffer);
    crcAppendRequest(6);
    EXPECT_EQ(sent(9), hexBytes("01 03 00 00 00 0A C5 CD EE"));
}

TEST_F(CrcBuffers, AppendNeverWritesPastTheBuffer)
{
    std::memset(outgoingBuffer, 0x11, linkBufferSize);
    crcAppendRequest(254);
    const std::uint16_t crc = crc16Modbus(outgoingBuffer, 254);
    EXPECT_EQ(outgoingBuffer[254], crc & 0xFF);
    EXPECT_EQ(outgoingBuffer[255], crc >> 8);
    std::memset(outgoingBuffer, 0x11, linkBufferSize);
    crcAppendRequest(255);
    crcAppendRequest(256);
    crcAppendRequest(-1);
    for (std::size_t i = 0; i < linkBufferSize; ++i)
        ASSERT_EQ(outgoingBuffer[i], 0x11) << i;
}

TEST_F(CrcBuffers, CheckAcceptsOnlyTheCrcInItsOrder)
{
    receive(hexBytes("01 03 02 00 2A 39 9B"));
    EXPECT_EQ(crcCheckReply(5), 1);
    receive(hexBytes("01 03 02 00 2A 9B 39"));  // high byte first
    EXPECT_EQ(crcCheckReply(5), 0);
    receive(hexBytes("01 03 02 00 2A 38 9B"));  // only the low byte wrong
    EXPECT_EQ(crcCheckReply(5), 0);
    receive(hexBytes("01 03 02 00 2A 39 9A"));  // only the high byte wrong
    EXPECT_EQ(crcCheckReply(5), 0);
    receive(hexBytes("01 03 02 00 2B 39 9B"));  // a data byte changed
    EXPECT_EQ(crcCheckReply(5), 0);
    receive(hexBytes("01 83 02 C0 F1"));
    EXPECT_EQ(crcCheckReply(3), 1);
}

TEST_F(CrcBuffers, CheckRefusesRepliesTooShortOrTooLong)
{
    // Each of these carries a CRC that matches the bytes before it, yet is no reply.
    receive(hexBytes("FF FF"));  // the CRC of nothing
    EXPECT_EQ(crcCheckReply(0), 0);
    receive({0x01, static_cast<std::uint8_t>(crc16Modbus(hexBytes("01").data(), 1) & 0xFF),
             static_cast<std::uint8_t>(crc16Modbus(hexBytes("01").data(), 1) >> 8)});
    EXPECT_EQ(crcCheckReply(1), 0);
    EXPECT_EQ(crcCheckReply(-1), 0);
    EXPECT_EQ(crcCheckReply(-2), 0);

    std::memset(incomingBuffer, 0x22, linkBufferSize);
    const std::uint16_t crc = crc16Modbus(incomingBuffer, 254);
    incomingBuffer[254] = crc & 0xFF;
    incomingBuffer[255] = crc >> 8;
    EXPECT_EQ(crcCheckReply(254), 1);  // a full 256-byte frame
    EXPECT_EQ(crcCheckReply(255), 0);  // would read past the buffer
    EXPECT_EQ(crcCheckReply(10000), 0);
}

TEST(CrcWithoutBuffers, NothingHappensAndNothingPasses)
{
    releaseLinkBuffers();
    crcAppendRequest(6);
    EXPECT_EQ(crcCheckReply(5), 0);
}

}  // namespace
