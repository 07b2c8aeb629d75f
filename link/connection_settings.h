#pragma once
// The line settings taken from the Comm Window by the port scan and by Connect.

#include <cstdint>
#include <string>

#include "platform/serial/serial_port.h"

inline std::string portName;            // the port list's text at Connect
inline std::uint32_t portBaud = 9600;   // full width: 115200 does not fit 16 bits
inline std::uint16_t portDataBits = 8;
inline float portStopBits = 1.0f;
inline std::uint16_t portParity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space

// The last entry of the port list, which scans again.
inline constexpr const char* refreshPortsEntry = "Обновить...";

// portParity, portBaud, portDataBits and portStopBits from the window's lists.
void takeLineSettingsFromWindow();
serial::LineSettings currentLineSettings();

// The number a text starts with ("115200", "1.5"); 0 when it starts with none.
std::int64_t leadingNumber(const std::string& text);
float leadingFloat(const std::string& text);
