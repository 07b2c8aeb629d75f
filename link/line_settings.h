#pragma once
// The serial line settings of the program's port: the port scan and Connect take them from the
// Comm Window, the request engine times replies by the baud rate.

#include <cstdint>

#include "platform/serial/serial_port.h"

inline std::uint32_t portBaud = 9600;   // full width: 115200 does not fit 16 bits
inline std::uint16_t portDataBits = 8;
inline float portStopBits = 1.0f;
inline std::uint16_t portParity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space

inline serial::LineSettings currentLineSettings() { return {portBaud, portParity, portDataBits, portStopBits}; }
