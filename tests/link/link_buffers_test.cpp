#include "link/link_buffers.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/gui/message_box.h"

namespace {

class LinkBufferAllocation : public ::testing::Test {
protected:
    void SetUp() override
    {
        releaseLinkBuffers();
        gui::setMessageBoxResponder([this](const gui::MessageBoxCall& call) {
            boxes.push_back(call);
            return gui::Answer::Ok;
        });
    }
    void TearDown() override
    {
        gui::setMessageBoxResponder({});
        releaseLinkBuffers();
    }
    std::vector<gui::MessageBoxCall> boxes;
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
    EXPECT_TRUE(boxes.empty());
}

TEST_F(LinkBufferAllocation, EachFailureShowsItsOwnUntitledErrorAndStartUpGoesOn)
{
    allocateLinkBuffers(failingAllocator);
    EXPECT_EQ(outgoingBuffer, nullptr);
    EXPECT_EQ(incomingBuffer, nullptr);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, "");
    EXPECT_EQ(boxes[0].icon, gui::Icon::Error);
    EXPECT_EQ(boxes[0].buttons, gui::Buttons::Ok);
    EXPECT_EQ(boxes[0].text, "Ошибка выделения исходящего буфера памяти");
    EXPECT_EQ(boxes[1].title, "");
    EXPECT_EQ(boxes[1].icon, gui::Icon::Error);
    EXPECT_EQ(boxes[1].text, "Ошибка выделения входящего буфера памяти");

    boxes.clear();
    allocations = 0;
    allocateLinkBuffers(secondFails);
    EXPECT_NE(outgoingBuffer, nullptr);
    EXPECT_EQ(incomingBuffer, nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, incomingBufferFailureText);
}

}  // namespace
