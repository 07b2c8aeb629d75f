#pragma once
// The line settings taken from the Comm Window by the port scan and by Connect.

#include <cstdint>
#include <string>

#include "link/line_settings.h"

inline std::string portName;            // the port list's text at Connect

// The last entry of the port list, which scans again.
inline constexpr const char* refreshPortsEntry = "Обновить...";

// portParity, portBaud, portDataBits and portStopBits from the window's lists.
void takeLineSettingsFromWindow();

// The number a text starts with ("115200", "1.5"); 0 when it starts with none.
std::int64_t leadingNumber(const std::string& text);
float leadingFloat(const std::string& text);
