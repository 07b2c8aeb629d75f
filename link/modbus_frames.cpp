#include "link/modbus_frames.h"

#include "link/bit_helpers.h"
#include "link/crc16.h"
#include "link/link_buffers.h"

namespace {

void putWord(std::uint8_t* at, std::uint16_t word)
{
    at[0] = static_cast<std::uint8_t>(word >> 8);
    at[1] = static_cast<std::uint8_t>(word & 0xFF);
}

bool countFits(const ModbusRequest& request) { return request.count >= 1 && request.count <= maxRequestCount; }

// Address, function and start register: the first four bytes of every request.
void putHead(const ModbusRequest& request, std::uint8_t function)
{
    outgoingBuffer[0] = static_cast<std::uint8_t>(request.deviceAddress & 0xFF);
    outgoingBuffer[1] = function;
    putWord(outgoingBuffer + 2, request.startRegister);
}

int finishFrame(int length)
{
    crcAppendRequest(length);
    return length + 2;
}

}  // namespace

std::uint8_t readFunctionCode(std::uint16_t registerTable)
{
    switch (registerTable) {
    case 0: return 1;
    case 1: return 2;
    case 3: return 4;
    case 4: return 3;
    default: return 0;
    }
}

std::uint8_t writeFunctionCode(std::uint16_t registerTable, std::uint16_t count)
{
    switch (registerTable) {
    case 0: return count > 1 ? 15 : 5;
    case 4: return count > 1 ? 16 : 6;
    default: return 0;
    }
}

int buildReadFrame(const ModbusRequest& request)
{
    const std::uint8_t function = readFunctionCode(request.registerTable);
    if (!outgoingBuffer || function == 0 || !countFits(request))
        return 0;
    putHead(request, function);
    putWord(outgoingBuffer + 4, request.count);
    return finishFrame(6);
}

int buildWriteFrame(const ModbusRequest& request)
{
    const std::uint8_t function = writeFunctionCode(request.registerTable, request.count);
    if (!outgoingBuffer || function == 0 || !countFits(request))
        return 0;
    putHead(request, function);
    switch (function) {
    case 5:
        outgoingBuffer[4] = request.values[0] != 0 ? 0xFF : 0x00;
        outgoingBuffer[5] = 0x00;
        return finishFrame(6);
    case 6:
        putWord(outgoingBuffer + 4, request.values[0]);
        return finishFrame(6);
    case 15: {
        putWord(outgoingBuffer + 4, request.count);
        const int dataBytes = (request.count + 7) / 8;
        outgoingBuffer[6] = static_cast<std::uint8_t>(dataBytes);
        for (int i = 0; i < dataBytes; ++i)
            outgoingBuffer[7 + i] = 0;
        for (int coil = 0; coil < request.count; ++coil) {
            std::uint8_t& data = outgoingBuffer[7 + coil / 8];
            const auto bit = static_cast<std::uint16_t>(coil % 8);
            data = static_cast<std::uint8_t>(request.values[coil] != 0 ? setBit(data, bit) : clearBit(data, bit));
        }
        return finishFrame(7 + dataBytes);
    }
    default:  // 16
        putWord(outgoingBuffer + 4, request.count);
        outgoingBuffer[6] = static_cast<std::uint8_t>(2 * request.count);
        for (int i = 0; i < request.count; ++i)
            putWord(outgoingBuffer + 7 + 2 * i, request.values[i]);
        return finishFrame(7 + 2 * request.count);
    }
}

std::uint16_t readReplyValue(const std::uint8_t* reply, int length, std::uint8_t function, int index)
{
    auto byteAt = [&](int position) -> std::uint16_t {
        return position >= 0 && position < length ? reply[position] : 0;
    };
    if (!reply || index < 0)
        return 0;
    if (function == 1 || function == 2)
        return static_cast<std::uint16_t>(testBit(byteAt(3 + index / 8), static_cast<std::uint16_t>(index % 8)));
    return static_cast<std::uint16_t>(byteAt(3 + 2 * index) << 8 | byteAt(4 + 2 * index));
}
