#pragma once
// Request frames in outgoingBuffer and the fields of a reply, for Modbus functions 1-6, 15 and 16.
// Multi-byte fields are big-endian; the CRC goes low byte first.

#include <cstdint>

#include "link/modbus_request.h"

// The function that reads a table (1, 2, 4, 3 for tables 0, 1, 3, 4); 0 for any other table.
std::uint8_t readFunctionCode(std::uint16_t registerTable);

// The function that writes `count` items of a table (5 or 15 for coils, 6 or 16 for holding
// registers); 0 for tables that cannot be written.
std::uint8_t writeFunctionCode(std::uint16_t registerTable, std::uint16_t count);

// Build the request from byte 0 of outgoingBuffer, CRC included, and return the number of bytes
// to send: 8 for functions 1-6, 9 + (count + 7) / 8 for 15, 9 + 2 * count for 16. They return 0
// and build nothing for a table without that direction, a count outside 1-16, or no buffer.
int buildReadFrame(const ModbusRequest& request);
int buildWriteFrame(const ModbusRequest& request);

// Item `index` of a read reply of `length` received bytes: for functions 1 and 2 bit index % 8
// of byte 3 + index / 8 (0 or 1), otherwise bytes 3 + 2 * index (high) and 4 + 2 * index (low).
// The byte count in byte 2 is not consulted; bytes at or beyond `length` read 0.
std::uint16_t readReplyValue(const std::uint8_t* reply, int length, std::uint8_t function, int index);
