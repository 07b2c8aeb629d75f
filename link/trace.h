#pragma once
// The exchange trace: every line goes to the program through its link sink.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Hands the line to the installed sink's traceLine.
void traceLine(std::string_view text);

// "01 03 00 0A " : two upper-case hexadecimal digits and a blank per byte.
std::string hexBytesText(const std::uint8_t* bytes, std::size_t length);
