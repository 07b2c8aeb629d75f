#include "link/bit_helpers.h"

#include <gtest/gtest.h>

namespace {

TEST(BitHelpers, TestSetAndClearEachBit)
{
    EXPECT_EQ(testBit(0x8000, 15), 1);
    EXPECT_EQ(testBit(0x8000, 14), 0);
    EXPECT_EQ(setBit(0x0000, 3), 0x0008);
    EXPECT_EQ(clearBit(0xFFFF, 0), 0xFFFE);
    for (std::uint16_t bit = 0; bit < 16; ++bit) {
        const auto only = static_cast<std::uint16_t>(1u << bit);
        EXPECT_EQ(setBit(0, bit), only);
        EXPECT_EQ(clearBit(0xFFFF, bit), static_cast<std::uint16_t>(~only));
        EXPECT_EQ(testBit(only, bit), 1);
        EXPECT_EQ(testBit(static_cast<std::uint16_t>(~only), bit), 0);
        EXPECT_EQ(setBit(only, bit), only);        // already set
        EXPECT_EQ(clearBit(0, bit), 0);            // already clear
    }
}

TEST(BitHelpers, BitNumbersBeyondTheWordChangeNothing)
{
    EXPECT_EQ(testBit(0xFFFF, 16), 0);
    EXPECT_EQ(setBit(0x1234, 16), 0x1234);
    EXPECT_EQ(clearBit(0x1234, 40), 0x1234);
    EXPECT_EQ(setBit(0x1234, 0xFFFF), 0x1234);
}

}  // namespace
