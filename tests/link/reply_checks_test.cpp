#include "link/reply_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int framesIn(const std::string& text)
{
    return asciiFramesIn(reinterpret_cast<const std::uint8_t*>(text.data()), static_cast<int>(text.size()));
}

// Each frame that came back to back counts as the answer it is; line ends and noise outside a
// frame answer nothing.
TEST(AsciiRepliesBackToBack, OnlyWholeFramesCountAsAnswers)
{
    const std::string reply = ":010302002AD0\r\n";
    struct Case {
        std::string text;
        int frames;
    };
    const Case cases[] = {
        {reply, 1},
        {reply + "\r\n", 1},
        {reply + "\n", 1},
        {reply + "\r\n\r\n", 1},
        {"\r\n" + reply, 1},
        {reply + reply, 2},
        {reply + "\n" + reply, 2},
        {reply + ":0103", 1},  // the start of another, cut off
        {"\r\n", 0},
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(framesIn(c.text), c.frames) << c.text;
}

}  // namespace
