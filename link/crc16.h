#pragma once
// CRC-16/MODBUS (initial 0xFFFF, reflected polynomial 0xA001, no final xor), sent low byte first.

#include <cstddef>
#include <cstdint>

std::uint16_t crc16Modbus(const std::uint8_t* data, std::size_t length);

// Appends the CRC of outgoingBuffer[0, length) at positions length and length+1. Does nothing
// when the CRC would not fit in the buffer or there is no buffer.
void crcAppendRequest(int length);

// 1 when the two bytes at positions length and length+1 of incomingBuffer are the CRC of the bytes
// before them, else 0. `length` is the received count less 2: a reply shorter than 4 bytes
// (length below 2), one longer than the buffer, or a missing buffer fails.
int crcCheckReply(int length);
