#pragma once
// Executes the one ModbusRequest over the program's port: builds the frame, sends it, collects and
// checks the reply, decodes error replies through the loaded description's DeviceErrorCode rows, and
// makes up to repeatCount attempts (at least one). The outcome is left in status and values, every
// step in the trace.

#include <cstdint>

#include "link/modbus_request.h"

// Reads `count` items of the request's table (functions 1, 2, 4, 3 for tables 0, 1, 3, 4).
void modbusRead();
// Writes the first `count` values (functions 5 or 15 for coils, 6 or 16 for holding registers).
void modbusWrite();

// For exception codes 1 to 8: traces the code's text and returns 10 + code; otherwise returns 0
// and traces nothing.
std::uint16_t modbusExceptionText(std::uint8_t code);

// What the engine tells the sink's portUnavailable when the port is not open.
inline constexpr const char* portUnavailableText = "Текущий порт недоступен!";
