#pragma once
// Link buffers for tests: allocated with four guard bytes past the 256 so that a write beyond
// the block shows, and released afterwards.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/link_buffers.h"

inline constexpr std::uint8_t guardByte = 0xA5;
inline constexpr std::size_t guardLength = 4;

inline std::uint8_t* allocateGuarded(std::size_t size)
{
    auto* block = new std::uint8_t[size + guardLength]();
    for (std::size_t i = 0; i < guardLength; ++i)
        block[size + i] = guardByte;
    return block;
}

inline bool guardsIntact(const std::uint8_t* buffer)
{
    for (std::size_t i = 0; i < guardLength; ++i)
        if (buffer[linkBufferSize + i] != guardByte)
            return false;
    return true;
}

inline std::vector<std::uint8_t> hexBytes(const std::string& text)
{
    std::vector<std::uint8_t> bytes;
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

class LinkBuffersFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        releaseLinkBuffers();
        allocateLinkBuffers(allocateGuarded);
        ASSERT_NE(outgoingBuffer, nullptr);
        ASSERT_NE(incomingBuffer, nullptr);
    }
    void TearDown() override
    {
        EXPECT_TRUE(guardsIntact(outgoingBuffer));
        EXPECT_TRUE(guardsIntact(incomingBuffer));
        releaseLinkBuffers();
    }
    std::vector<std::uint8_t> sent(int length) const { return {outgoingBuffer, outgoingBuffer + length}; }
    void receive(const std::vector<std::uint8_t>& reply) const
    {
        std::copy(reply.begin(), reply.end(), incomingBuffer);
    }
};
