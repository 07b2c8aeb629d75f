#include "link/crc16.h"

#include "link/link_buffers.h"

std::uint16_t crc16Modbus(const std::uint8_t* data, std::size_t length)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int shift = 0; shift < 8; ++shift)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

void crcAppendRequest(int length)
{
    if (!outgoingBuffer || length < 0 || static_cast<std::size_t>(length) + 2 > linkBufferSize)
        return;
    const std::uint16_t crc = crc16Modbus(outgoingBuffer, static_cast<std::size_t>(length));
    outgoingBuffer[length] = static_cast<std::uint8_t>(crc & 0xFF);
    outgoingBuffer[length + 1] = static_cast<std::uint8_t>(crc >> 8);
}

int crcCheckReply(int length)
{
    if (!incomingBuffer || length < 2 || static_cast<std::size_t>(length) + 2 > linkBufferSize)
        return 0;
    const std::uint16_t crc = crc16Modbus(incomingBuffer, static_cast<std::size_t>(length));
    return incomingBuffer[length] == (crc & 0xFF) && incomingBuffer[length + 1] == (crc >> 8) ? 1 : 0;
}
