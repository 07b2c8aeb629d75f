#include "link/bit_helpers.h"

int testBit(std::uint16_t value, std::uint16_t bit)
{
    if (bit > 15)
        return 0;
    return (value >> bit) & 1;
}

std::uint16_t setBit(std::uint16_t value, std::uint16_t bit)
{
    if (bit > 15)
        return value;
    return static_cast<std::uint16_t>(value | (1u << bit));
}

std::uint16_t clearBit(std::uint16_t value, std::uint16_t bit)
{
    if (bit > 15)
        return value;
    return static_cast<std::uint16_t>(value & ~(1u << bit));
}
