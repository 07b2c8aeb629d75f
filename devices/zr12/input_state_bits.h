#pragma once
// The input state word of the monitor group: one name per bit.

#include "description/loader_kit.h"

inline constexpr BitRow zr12InputStateBits[] = {
    {0, "DI1"},
    {1, "DI2"},
    {2, "DI3"},
    {3, "DI4"},
    {4, "DI5"},
    {5, "DI6"},
    {6, "DI7"},
    {7, "DI8"},
    {8, "DI9"},
    {9, "M1"},
    {10, "M2"},
    {11, "M3"},
    {12, "M4"},
    {13, "M5"},
    {14, "VF1"},
    {15, "VF2"},
};
