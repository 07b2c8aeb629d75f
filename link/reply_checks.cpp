#include "link/reply_checks.h"

#include <array>
#include <string>

#include "description/description_store.h"
#include "link/ascii_framing.h"
#include "link/crc16.h"
#include "link/link_buffers.h"
#include "link/modbus_engine.h"
#include "link/modbus_frames.h"
#include "link/modbus_request.h"
#include "link/modbus_status.h"
#include "link/trace.h"

namespace {

// Function bytes of an exception reply to any of the functions 1-6, 15 and 16.
bool isExceptionFunction(std::uint8_t function)
{
    return (function >= 0x81 && function <= 0x86) || function == 0x8F || function == 0x90;
}

std::uint16_t wordAt(const std::uint8_t* reply, int length, int position)
{
    auto byteAt = [&](int at) -> std::uint16_t { return at < length ? reply[at] : 0; };
    return static_cast<std::uint16_t>(byteAt(position) << 8 | byteAt(position + 1));
}

// A reply with another function byte: the first DeviceErrorCode row that ends the walk decides.
void errorWalk(const std::uint8_t* reply, int length, bool& noFurtherAttempt)
{
    for (const DeviceErrorCode& row : deviceErrorCodes) {
        switch (row.errorKind) {
        case errorKindException:
            if (isExceptionFunction(reply[1])) {
                modbusRequest.status = modbusExceptionText(length > 2 ? reply[2] : 0);
                noFurtherAttempt = true;
            }
            return;
        case errorKindEndOfWalk:
            return;
        case errorKindDeviceError:
            if (wordAt(reply, length, 2) == row.errorRegister && row.compareMode == 2
                && wordAt(reply, length, 4) == row.errorCode) {
                traceLine("Ошибка: " + row.text);
                modbusRequest.status = statusDeviceError;
                return;
            }
            break;
        default:
            break;
        }
    }
}

// The data bytes a read reply must carry: one bit per coil or input, two bytes per register.
int expectedDataBytes(std::uint8_t function)
{
    return function == 1 || function == 2 ? (modbusRequest.count + 7) / 8 : 2 * modbusRequest.count;
}

// A read reply must carry the data the request asked for, and all of it: otherwise the values
// would come from whatever follows the data, the checksum included. Traces why it does not.
bool readDataFits(std::uint8_t function, const std::uint8_t* reply, int bodyLength)
{
    if (bodyLength < 3) {
        traceLine("Ответ не содержит числа байт данных");
        return false;
    }
    const int stated = reply[2];
    const int expected = expectedDataBytes(function);
    if (stated != expected) {
        traceLine("Число байт данных в ответе не соответствует запросу: " + std::to_string(stated) + " вместо " +
                  std::to_string(expected));
        return false;
    }
    if (bodyLength - 3 < stated) {
        traceLine("Ответ короче, чем указано в нем: байт данных " + std::to_string(bodyLength - 3) + " из " +
                  std::to_string(stated));
        return false;
    }
    return true;
}

// The checks after the checksum: address, function (with the error walk), then the result.
// `reply` holds address, function and data, `bodyLength` bytes of them before the checksum.
ReplyCheck checkBody(RequestDirection direction, const std::uint8_t* frame, const std::uint8_t* reply, int bodyLength)
{
    ReplyCheck result;
    if (reply[0] != modbusRequest.deviceAddress) {
        traceLine("Адрес устройства не соответствует");
        modbusRequest.status = statusWrongAddress;
        return result;
    }
    const std::uint8_t function = frame[1];
    if (reply[1] != function) {
        errorWalk(reply, bodyLength, result.noFurtherAttempt);
        if (modbusRequest.status == statusGood) {
            traceLine("Функциональный код не соответствует");
            modbusRequest.status = statusWrongFunction;
        }
        return result;
    }
    if (direction == RequestDirection::Read) {
        if (!readDataFits(function, reply, bodyLength)) {
            modbusRequest.status = statusMalformedReply;
            return result;
        }
        for (int i = 0; i < modbusRequest.count; ++i)
            modbusRequest.values[static_cast<std::size_t>(i)] = readReplyValue(reply, bodyLength, function, i);
    } else if (function == 5 || function == 6) {
        const char* mismatch = nullptr;
        // The echo of another register answers some other request (a late one), not this write.
        if (bodyLength < 4 || reply[2] != frame[2] || reply[3] != frame[3])
            mismatch = "Адрес регистра в ответе не соответствует запросу";
        else if (function == 6 && (bodyLength < 6 || reply[4] != frame[4] || reply[5] != frame[5]))
            mismatch = "Значение регистра не соответствует записанному";
        if (mismatch) {
            traceLine(mismatch);
            modbusRequest.status = statusWrongEcho;
            return result;
        }
        if (function == 6)
            traceLine("Значение регистра " + std::to_string(modbusRequest.values[0]) + " записано");
    }
    result.success = true;
    return result;
}

// The length of the RTU reply frame starting at `bytes`, as its function says; 0 when unknown.
int rtuReplyLength(const std::uint8_t* bytes, int length)
{
    if (length < 3)
        return 0;
    const std::uint8_t function = bytes[1];
    if (function & 0x80)
        return 5;
    if (function >= 1 && function <= 4)
        return 5 + bytes[2];
    return function == 5 || function == 6 || function == 15 || function == 16 ? 8 : 0;
}

}  // namespace

BackToBack rtuFramesBackToBack(const std::uint8_t* bytes, int length)
{
    BackToBack found;
    for (int at = 0; at < length;) {
        const int frame = rtuReplyLength(bytes + at, length - at);
        if (frame == 0 || at + frame > length || crc16Modbus(bytes + at, static_cast<std::size_t>(frame)) != 0)
            return {};
        if (found.frames++ == 0)
            found.firstLength = frame;
        at += frame;
    }
    return found;
}

int asciiFramesIn(const std::uint8_t* text, int length)
{
    int frames = 0;
    bool started = false;
    for (int i = 0; i < length; ++i) {
        if (text[i] == ':')
            started = true;
        else if (text[i] == '\n' && started) {
            ++frames;
            started = false;
        }
    }
    return frames;
}

ReplyCheck checkRtuReply(RequestDirection direction, const CollectedReply& reply)
{
    modbusRequest.status = statusGood;
    if (reply.overflow || crcCheckReply(reply.length - 2) != 1) {
        traceLine("Ошибка CRC16");
        modbusRequest.status = statusChecksumError;
        return {};
    }
    traceLine("Проверка CRC16 OK");
    return checkBody(direction, outgoingBuffer, incomingBuffer, reply.length - 2);
}

ReplyCheck checkAsciiReply(RequestDirection direction, const std::uint8_t* requestBody, const CollectedReply& reply)
{
    modbusRequest.status = statusGood;
    std::array<std::uint8_t, linkBufferSize> decoded{};
    const AsciiDecodeResult frame = reply.overflow
        ? AsciiDecodeResult{AsciiDecodeStatus::TooLong, 0}
        : asciiDecode(incomingBuffer, static_cast<std::size_t>(reply.length), decoded.data(), decoded.size());
    if (frame.status != AsciiDecodeStatus::Ok || frame.length < 2) {
        traceLine("Ошибка LRC");
        modbusRequest.status = statusChecksumError;
        return {};
    }
    traceLine("Проверка LRC OK");
    // The request's function byte is the same in both framings.
    const auto decodedLength = static_cast<int>(frame.length);
    return checkBody(direction, requestBody, decoded.data(), decodedLength);
}
