#include "link/link_buffers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/link_sink.h"

namespace {

class LinkBufferAllocation : public ::testing::Test {
protected:
    void SetUp() override
    {
        releaseLinkBuffers();
        installLinkSink({
            .traceLine = {},
            .portUnavailable = {},
            .bufferNotAllocated = [this](std::string_view text) { reports.emplace_back(text); },
        });
    }
    void TearDown() override
    {
        installLinkSink({});
        releaseLinkBuffers();
    }
    std::vector<std::string> reports;
};

std::uint8_t* failingAllocator(std::size_t) { return nullptr; }

int allocations = 0;
std::uint8_t* secondFails(std::size_t size) { return ++allocations == 2 ? nullptr : new std::uint8_t[size](); }

TEST_F(LinkBufferAllocation, AllocatesTwoZeroedBlocksQuietly)
{
    allocateLinkBuffers();
    ASSERT_NE(outgoingBuffer, nullptr);
    ASSERT_NE(incomingBuffer, nullptr);
    EXPECT_NE(outgoingBuffer, incomingBuffer);
    for (std::size_t i = 0; i < linkBufferSize; ++i) {
        ASSERT_EQ(outgoingBuffer[i], 0);
        ASSERT_EQ(incomingBuffer[i], 0);
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(LinkBufferAllocation, EachFailureIsReportedWithItsOwnTextAndStartUpGoesOn)
{
    allocateLinkBuffers(failingAllocator);
    EXPECT_EQ(outgoingBuffer, nullptr);
    EXPECT_EQ(incomingBuffer, nullptr);
    EXPECT_EQ(reports, (std::vector<std::string>{"Ошибка выделения исходящего буфера памяти",
                                                 "Ошибка выделения входящего буфера памяти"}));

    reports.clear();
    allocations = 0;
    allocateLinkBuffers(secondFails);
    EXPECT_NE(outgoingBuffer, nullptr);
    EXPECT_EQ(incomingBuffer, nullptr);
    EXPECT_EQ(reports, std::vector<std::string>{incomingBufferFailureText});
}

}  // namespace
