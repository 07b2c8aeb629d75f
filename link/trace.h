#pragma once
// The exchange trace: every line goes to the log and to the Monitor Window's text, shown or not.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Logs the line, appends it to the Monitor Window's trace (scrolled to the end), lets the windows
// repaint without handling input, and makes the Main Window active again.
void traceLine(std::string_view text);

// "01 03 00 0A " : two upper-case hexadecimal digits and a blank per byte.
std::string hexBytesText(const std::uint8_t* bytes, std::size_t length);
