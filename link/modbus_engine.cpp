#include "link/modbus_engine.h"

#include <algorithm>
#include <array>
#include <string>

#include "link/ascii_framing.h"
#include "link/line_io.h"
#include "link/line_settings.h"
#include "link/link_buffers.h"
#include "link/link_sink.h"
#include "link/modbus_frames.h"
#include "link/modbus_status.h"
#include "link/reply_checks.h"
#include "link/request_limits.h"
#include "link/serial_link.h"
#include "link/trace.h"

namespace {

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

std::int64_t silenceLimitMs() { return 230400 / std::max<std::uint32_t>(portBaud, 1); }

void traceReply(RequestDirection direction, std::int64_t replyMs, const std::string& bytesText)
{
    traceLine("Ответ через " + std::to_string(replyMs) + (direction == RequestDirection::Read ? " мс: " : " мс : ") +
              bytesText);
}

// Sends the `length` bytes of outgoingBuffer once the line is clear of stale input, and waits for
// the first byte of the reply. Returns the milliseconds waited, or -1 after a time-out (traced) or
// once the port is gone.
std::int64_t sendAndWaitForReply(int length)
{
    discardStaleInput();
    // Nothing of an earlier reply may pass for part of this one.
    std::fill(incomingBuffer, incomingBuffer + linkBufferSize, std::uint8_t{0});
    sendFrame(outgoingBuffer, length);
    const std::int64_t replyMs = waitForFirstByte(waitTimer);
    if (replyMs < 0 && !serial::portLost(serialPort)) {
        traceLine("Превышено время ожидания");
        modbusRequest.status = statusTimeout;
    }
    return replyMs;
}

// The frame in outgoingBuffer is `length` bytes, CRC included.
ReplyCheck rtuAttempt(RequestDirection direction, int attempt, int length)
{
    traceLine("Запрос " + std::to_string(attempt) + ": " + hexBytesText(outgoingBuffer, static_cast<std::size_t>(length)));
    const std::int64_t replyMs = sendAndWaitForReply(length);
    if (replyMs < 0)
        return {};
    const CollectedReply reply = collectUntilSilence(silenceLimitMs());
    traceReply(direction, replyMs, hexBytesText(incomingBuffer, static_cast<std::size_t>(reply.length)));
    return checkRtuReply(direction, reply);
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
ReplyCheck asciiAttempt(RequestDirection direction, int attempt, int rtuLength)
{
    std::array<std::uint8_t, linkBufferSize> body{};
    const int bodyLength = rtuLength - 2;
    std::copy(outgoingBuffer, outgoingBuffer + bodyLength, body.begin());
    const auto length = static_cast<int>(
        asciiEncode(body.data(), static_cast<std::size_t>(bodyLength), outgoingBuffer, linkBufferSize));
    traceLine("Запрос " + std::to_string(attempt) + ": " + asciiText(outgoingBuffer, length));
    const std::int64_t replyMs = sendAndWaitForReply(length);
    if (replyMs < 0)
        return {};
    const CollectedReply reply = collectUntilLineEnd(std::max<std::int64_t>(waitTimer, silenceLimitMs()));
    traceReply(direction, replyMs, asciiText(incomingBuffer, reply.length));
    return checkAsciiReply(direction, body.data(), reply);
}

// No port, or the port went away: the request ends here, and the program hears of it once.
void reportPortUnavailable()
{
    modbusRequest.status = statusPortNotOpen;
    if (const LinkSink& sink = linkSink(); sink.portUnavailable)
        sink.portUnavailable(portUnavailableText);
}

// An attempt that timed out may still be answered, and so may one whose "reply" was noise; a read
// reply names no register, so such an answer would pass for the next request's reply. A request
// that its first attempt did not settle is therefore followed by a wait that drops whatever comes:
// the device may answer up to a time-out late, and turns to a further attempt only once it has
// answered the one before, hence twice the time-out after the last frame out or the last reply.
// Within the request a late answer is welcome: every attempt asks the same.
void dropAnswersStillOnTheirWay() { dropLateAnswers(2 * std::int64_t{waitTimer}); }

void execute(RequestDirection direction)
{
    if (!serial::isOpen(serialPort) || serial::checkForLoss(serialPort) || !outgoingBuffer || !incomingBuffer) {
        reportPortUnavailable();
        return;
    }
    const int attempts = std::max(repeatCount, 1);
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        const int length =
            direction == RequestDirection::Read ? buildReadFrame(modbusRequest) : buildWriteFrame(modbusRequest);
        if (length == 0) {
            modbusRequest.status = statusIllegalFunction;
            return;
        }
        const ReplyCheck result = modbusRequest.mode == "ASCII" ? asciiAttempt(direction, attempt, length)
                                                                : rtuAttempt(direction, attempt, length);
        if (!result.success) {
            // Further attempts would only be traced, never sent.
            if (serial::portLost(serialPort)) {
                reportPortUnavailable();
                return;
            }
            traceLine("");
        }
        const bool settled = result.success || result.noFurtherAttempt;
        if (settled || attempt == attempts) {
            if (attempt > 1 || !settled)
                dropAnswersStillOnTheirWay();
            return;
        }
    }
}

}  // namespace

void modbusRead() { execute(RequestDirection::Read); }

void modbusWrite() { execute(RequestDirection::Write); }

std::uint16_t modbusExceptionText(std::uint8_t code)
{
    for (const ExceptionText& entry : exceptionTexts)
        if (entry.code == code) {
            traceLine(entry.text);
            return static_cast<std::uint16_t>(statusExceptionBase + code);
        }
    return 0;
}
