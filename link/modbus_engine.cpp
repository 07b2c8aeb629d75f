#include "link/modbus_engine.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/description_store.h"
#include "app/settings_file.h"
#include "link/ascii_framing.h"
#include "link/comm_window.h"
#include "link/crc16.h"
#include "link/line_io.h"
#include "link/link_buffers.h"
#include "link/modbus_frames.h"
#include "link/modbus_status.h"
#include "link/serial_link.h"
#include "link/trace.h"
#include "platform/gui/message_box.h"

namespace {

enum class Direction { Read, Write };

// What one attempt leaves besides status.
struct AttemptResult {
    bool success = false;
    bool noFurtherAttempt = false;  // a standard exception reply
};

struct ExceptionText {
    std::uint8_t code;
    const char* text;
};

constexpr std::array<ExceptionText, 8> exceptionTexts = {{
    {1, "Код ошибки 01: Недопустимый код функции"},
    {2, "Код ошибки 02: Адрес не существует"},
    {3, "Код ошибки 03: Неверный формат запроса или некоректные данные"},
    {4, "Код ошибки 04: Невосстанавливаемая ошибка на сервере"},
    {5, "Код 05: Данные не готовы, требуется время на ответ"},
    {6, "Код 06: Сервер занят, повторите запрос позже"},
    {7, "Код ошибки 07: Невозможно выполнить запрос"},
    {8, "Код ошибки 08: Ошибка четности"},
}};

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

// The checks after the checksum: address, function (with the error walk), then the result.
// `reply` holds address, function and data; `length` counts the bytes received (read values at or
// beyond it are 0), `bodyLength` those before the checksum.
AttemptResult checkReply(Direction direction, const std::uint8_t* frame, const std::uint8_t* reply, int length,
                         int bodyLength)
{
    AttemptResult result;
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
    if (direction == Direction::Read) {
        for (int i = 0; i < modbusRequest.count; ++i)
            modbusRequest.values[static_cast<std::size_t>(i)] = readReplyValue(reply, length, function, i);
    } else if (function == 6) {
        if (bodyLength < 6 || reply[4] != frame[4] || reply[5] != frame[5]) {
            traceLine("Значение регистра не соответствует записанному");
            modbusRequest.status = statusWrongEcho;
            return result;
        }
        traceLine("Значение регистра " + std::to_string(modbusRequest.values[0]) + " записано");
    }
    result.success = true;
    return result;
}

std::int64_t silenceLimitMs() { return 230400 / std::max<std::uint32_t>(portBaud, 1); }

void traceReply(Direction direction, std::int64_t replyMs, const std::string& bytesText)
{
    traceLine("Ответ через " + std::to_string(replyMs) + (direction == Direction::Read ? " мс: " : " мс : ") + bytesText);
}

// The frame in outgoingBuffer is `length` bytes, CRC included.
AttemptResult rtuAttempt(Direction direction, int attempt, int length)
{
    traceLine("Запрос " + std::to_string(attempt) + ": " + hexBytesText(outgoingBuffer, static_cast<std::size_t>(length)));
    discardStaleInput();
    // Nothing of an earlier reply may pass for part of this one.
    std::fill(incomingBuffer, incomingBuffer + linkBufferSize, std::uint8_t{0});
    sendFrame(outgoingBuffer, length);
    const std::int64_t replyMs = waitForFirstByte(waitTimer);
    if (replyMs < 0) {
        traceLine("Превышено время ожидания");
        modbusRequest.status = statusTimeout;
        return {};
    }
    const CollectedReply reply = collectUntilSilence(silenceLimitMs());
    traceReply(direction, replyMs, hexBytesText(incomingBuffer, static_cast<std::size_t>(reply.length)));
    modbusRequest.status = statusGood;
    if (reply.overflow || crcCheckReply(reply.length - 2) != 1) {
        traceLine("Ошибка CRC16");
        modbusRequest.status = statusChecksumError;
        return {};
    }
    traceLine("Проверка CRC16 OK");
    return checkReply(direction, outgoingBuffer, incomingBuffer, reply.length, reply.length - 2);
}

// The received characters as they stand; the line end and other control bytes would break the
// trace line, so those are shown as <XX>.
std::string asciiText(const std::uint8_t* bytes, int length)
{
    std::string text;
    for (int i = 0; i < length; ++i) {
        const std::uint8_t c = bytes[i];
        if (c == '\r' || c == '\n')
            continue;
        if (c >= 0x20 && c < 0x7F)
            text.push_back(static_cast<char>(c));
        else
            text += "<" + hexBytesText(&c, 1).substr(0, 2) + ">";
    }
    return text;
}

// ASCII: the same body as RTU (without its CRC) in ':' hex LRC CR LF framing; the reply ends at
// its line feed or when the line falls silent for longer than the reply time-out.
AttemptResult asciiAttempt(Direction direction, int attempt, int rtuLength)
{
    std::array<std::uint8_t, linkBufferSize> body{};
    const int bodyLength = rtuLength - 2;
    std::copy(outgoingBuffer, outgoingBuffer + bodyLength, body.begin());
    const auto length = static_cast<int>(
        asciiEncode(body.data(), static_cast<std::size_t>(bodyLength), outgoingBuffer, linkBufferSize));
    traceLine("Запрос " + std::to_string(attempt) + ": " + asciiText(outgoingBuffer, length));
    discardStaleInput();
    std::fill(incomingBuffer, incomingBuffer + linkBufferSize, std::uint8_t{0});
    sendFrame(outgoingBuffer, length);
    const std::int64_t replyMs = waitForFirstByte(waitTimer);
    if (replyMs < 0) {
        traceLine("Превышено время ожидания");
        modbusRequest.status = statusTimeout;
        return {};
    }
    const CollectedReply reply = collectUntilLineEnd(std::max<std::int64_t>(waitTimer, silenceLimitMs()));
    traceReply(direction, replyMs, asciiText(incomingBuffer, reply.length));
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
    return checkReply(direction, body.data(), decoded.data(), decodedLength, decodedLength);
}

void execute(Direction direction)
{
    if (!serial::isOpen(serialPort) || serial::portLost(serialPort) || !outgoingBuffer || !incomingBuffer) {
        modbusRequest.status = statusPortNotOpen;
        gui::messageBox("Ошибка", portUnavailableText, gui::Icon::Error);
        return;
    }
    const int attempts = std::max(repeatCount, 1);
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        const int length = direction == Direction::Read ? buildReadFrame(modbusRequest) : buildWriteFrame(modbusRequest);
        if (length == 0) {
            modbusRequest.status = statusIllegalFunction;
            return;
        }
        const AttemptResult result = modbusRequest.mode == "ASCII" ? asciiAttempt(direction, attempt, length)
                                                                   : rtuAttempt(direction, attempt, length);
        if (result.success)
            return;
        traceLine("");
        if (result.noFurtherAttempt)
            return;
    }
}

}  // namespace

void modbusRead() { execute(Direction::Read); }

void modbusWrite() { execute(Direction::Write); }

std::uint16_t modbusExceptionText(std::uint8_t code)
{
    for (const ExceptionText& entry : exceptionTexts)
        if (entry.code == code) {
            traceLine(entry.text);
            return static_cast<std::uint16_t>(statusExceptionBase + code);
        }
    return 0;
}
