#pragma once
// Single bits of a 16-bit word, bit 0 the least significant. Bit numbers above 15 name no bit:
// testBit gives 0 and the others return the value unchanged.

#include <cstdint>

int testBit(std::uint16_t value, std::uint16_t bit);
std::uint16_t setBit(std::uint16_t value, std::uint16_t bit);
std::uint16_t clearBit(std::uint16_t value, std::uint16_t bit);
