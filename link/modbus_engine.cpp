#include "link/modbus_engine.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

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
#include "platform/clock/clock.h"

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

// What the line has shown of one request so far. A device answers the frames it takes in turn, so
// a late answer to an earlier attempt comes before the answer to a later one, and the answers
// still owed are the frames sent less the replies seen (a garbled or exception reply is an answer).
struct RequestLine {
    RequestDirection direction;
    bool ascii;
    std::array<std::uint8_t, linkBufferSize> body{};  // ASCII: the request without its checksum
    std::vector<std::int64_t> frameUs;                 // when each frame had gone out
    int repliesSeen = 0;
    std::int64_t firstReplyUs = 0;
    std::int64_t lastReplyUs = 0;

    int framesSent() const { return static_cast<int>(frameUs.size()); }
};

// ASCII replies end at their line feed, or when the line falls silent for longer than the reply
// time-out.
std::int64_t replyGapMs(bool ascii)
{
    return ascii ? std::max<std::int64_t>(waitTimer, silenceLimitMs()) : silenceLimitMs();
}

// A reply has begun. By count it answers the earliest frame not yet answered; returns its time in
// ms from that frame, which is what the trace shows (an answer to attempt 1 that comes during
// attempt 3 took its time since attempt 1).
std::int64_t noteReply(RequestLine& line)
{
    portDeviceSilent = false;
    line.lastReplyUs = sysclock::microseconds();
    const auto answered = static_cast<std::size_t>(std::min(line.repliesSeen, line.framesSent() - 1));
    if (line.repliesSeen++ == 0)
        line.firstReplyUs = line.lastReplyUs;
    return (line.lastReplyUs - line.frameUs[answered]) / 1000;
}

// Sends the `length` bytes of outgoingBuffer once the line is clear of stale input, and waits for
// the first byte of the reply. Returns the reply's time (see noteReply), or -1 after a time-out
// (traced) or once the port is gone.
std::int64_t sendAndWaitForReply(RequestLine& line, int length)
{
    discardStaleInput();
    // Nothing of an earlier reply may pass for part of this one.
    std::fill(incomingBuffer, incomingBuffer + linkBufferSize, std::uint8_t{0});
    sendFrame(outgoingBuffer, length);
    line.frameUs.push_back(sysclock::microseconds());
    if (waitForFirstByte(waitTimer) >= 0)
        return noteReply(line);
    if (!serial::portLost(serialPort)) {
        traceLine("Превышено время ожидания");
        modbusRequest.status = statusTimeout;
    }
    return -1;
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

// Collects the reply whose first byte has come `replyMs` after the frame, traces it and checks it
// against the request. Answers that came back to back count as the replies they are, and the first
// of them is checked.
ReplyCheck takeReply(RequestLine& line, std::int64_t replyMs)
{
    if (line.ascii) {
        const CollectedReply reply = collectUntilLineEnd(replyGapMs(true));
        traceReply(line.direction, replyMs, asciiText(incomingBuffer, reply.length));
        line.repliesSeen += std::max(asciiFramesIn(incomingBuffer, reply.length) - 1, 0);
        return checkAsciiReply(line.direction, line.body.data(), reply);
    }
    CollectedReply reply = collectUntilSilence(replyGapMs(false));
    traceReply(line.direction, replyMs, hexBytesText(incomingBuffer, static_cast<std::size_t>(reply.length)));
    const BackToBack answers = rtuFramesBackToBack(incomingBuffer, reply.length);
    if (!reply.overflow && answers.frames > 1) {
        line.repliesSeen += answers.frames - 1;
        reply.length = answers.firstLength;
    }
    return checkRtuReply(line.direction, reply);
}

// The RTU frame in outgoingBuffer is `rtuLength` bytes, CRC included. ASCII carries the same body
// (without the CRC) in ':' hex LRC CR LF framing.
ReplyCheck attempt(RequestLine& line, int number, int rtuLength)
{
    int length = rtuLength;
    std::string shown;
    if (line.ascii) {
        const int bodyLength = rtuLength - 2;
        std::copy(outgoingBuffer, outgoingBuffer + bodyLength, line.body.begin());
        length = static_cast<int>(
            asciiEncode(line.body.data(), static_cast<std::size_t>(bodyLength), outgoingBuffer, linkBufferSize));
        shown = asciiText(outgoingBuffer, length);
    } else {
        shown = hexBytesText(outgoingBuffer, static_cast<std::size_t>(length));
    }
    traceLine("Запрос " + std::to_string(number) + ": " + shown);
    const std::int64_t replyMs = sendAndWaitForReply(line, length);
    if (replyMs < 0)
        return {};
    return takeReply(line, replyMs);
}

// No port, or the port went away: the request ends here, and the program hears of it once.
void reportPortUnavailable()
{
    modbusRequest.status = statusPortNotOpen;
    if (const LinkSink& sink = linkSink(); sink.portUnavailable)
        sink.portUnavailable(portUnavailableText);
}

// A failed attempt: false when the port went away with it (reported), which ends the request.
bool closeFailedAttempt()
{
    if (serial::portLost(serialPort)) {
        reportPortUnavailable();
        return false;
    }
    traceLine("");
    return true;
}

// A read reply names no register, so an answer still owed when the request ends would pass for the
// next request's reply. A device may be late by any amount, and one that takes a request at a time
// answers the last of n attempts n times its latency after the first. So while answers are owed
// they are awaited as long as the latency seen says: the next one within twice the time the first
// reply took after the first frame, counted from the last reply in (a busy line is late by more
// than its usual latency); with no reply at all, as long again as the attempts took and one
// time-out more. Until the request is settled such an answer may still be its answer (every
// attempt asks the same); after that it is dropped unseen. A device that let such a wait pass in
// silence would have answered in it: it is silent, and its next silent request costs its attempts
// only.
void awaitAnswersStillOwed(RequestLine& line, bool settled)
{
    std::int64_t deadline = 0;
    if (line.repliesSeen == 0) {
        if (portDeviceSilent)
            return;
        const std::int64_t now = sysclock::microseconds();
        deadline = now + (now - line.frameUs.front()) + std::int64_t{waitTimer} * 1000;
    }
    while (line.repliesSeen < line.framesSent()) {
        if (line.repliesSeen > 0) {
            const std::int64_t latency = line.firstReplyUs - line.frameUs.front();
            deadline = line.lastReplyUs + 2 * latency;
        }
        if (!awaitByteUntil(deadline)) {
            portDeviceSilent = line.repliesSeen == 0 && !serial::portLost(serialPort);
            return;
        }
        const std::int64_t replyMs = noteReply(line);
        if (settled) {
            dropReply(replyGapMs(line.ascii), line.ascii);
            continue;
        }
        std::fill(incomingBuffer, incomingBuffer + linkBufferSize, std::uint8_t{0});
        const ReplyCheck result = takeReply(line, replyMs);
        if (!result.success && !closeFailedAttempt())
            return;
        settled = result.success || result.noFurtherAttempt;
    }
}

void execute(RequestDirection direction)
{
    if (!serial::isOpen(serialPort) || serial::checkForLoss(serialPort) || !outgoingBuffer || !incomingBuffer) {
        reportPortUnavailable();
        return;
    }
    RequestLine line{direction, modbusRequest.mode == "ASCII", {}, {}};
    const int attempts = std::max(repeatCount, 1);
    line.frameUs.reserve(static_cast<std::size_t>(attempts));
    bool settled = false;
    for (int number = 1; number <= attempts && !settled; ++number) {
        const int length =
            direction == RequestDirection::Read ? buildReadFrame(modbusRequest) : buildWriteFrame(modbusRequest);
        if (length == 0) {
            modbusRequest.status = statusIllegalFunction;
            return;
        }
        const ReplyCheck result = attempt(line, number, length);
        // Further attempts would only be traced, never sent.
        if (!result.success && !closeFailedAttempt())
            return;
        settled = result.success || result.noFurtherAttempt;
    }
    awaitAnswersStillOwed(line, settled);
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
