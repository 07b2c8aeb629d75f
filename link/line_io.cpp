#include "link/line_io.h"

#include <algorithm>
#include <array>

#include "link/link_buffers.h"
#include "link/serial_link.h"
#include "platform/clock/clock.h"

namespace {

constexpr std::int64_t drainLimitMs = 2000;

// Reads `count` waiting bytes: as many as fit go to `into` (of `size` bytes) at `at`, the rest is
// dropped. Returns the bytes stored.
int readInto(std::uint8_t* into, int size, int at, int count, bool& overflow)
{
    const int room = std::max(0, size - at);
    int stored = 0;
    while (stored < std::min(count, room)) {
        const int got = serial::read(serialPort, into + at + stored, static_cast<std::size_t>(std::min(count, room) - stored));
        if (got <= 0)
            return stored;
        stored += got;
    }
    std::array<std::uint8_t, 256> scratch;
    for (int dropped = stored; dropped < count;) {
        const int got = serial::read(serialPort, scratch.data(), std::min<std::size_t>(scratch.size(), count - dropped));
        if (got <= 0)
            break;
        dropped += got;
        overflow = true;
    }
    return stored;
}

// Bytes are taken as they arrive, so that waiting for the next one can sleep in the driver until
// it comes or the silence limit has passed, measured to the microsecond.
CollectedReply collectUntilSilenceInto(std::uint8_t* into, int size, std::int64_t silenceMs)
{
    CollectedReply reply;
    const std::int64_t limitUs = silenceMs * 1000;
    std::int64_t lastByte = sysclock::microseconds();
    for (;;) {
        const int waiting = serial::bytesWaitingIn(serialPort);
        if (waiting > 0) {
            const int before = reply.length;
            const bool overflowBefore = reply.overflow;
            reply.length += readInto(into, size, reply.length, waiting, reply.overflow);
            // A queue that reports bytes but yields none must not hold the loop: only the
            // silence limit ends it then.
            if (reply.length != before || reply.overflow != overflowBefore) {
                lastByte = sysclock::microseconds();
                continue;
            }
        }
        const std::int64_t quiet = sysclock::microseconds() - lastByte;
        if (quiet > limitUs || serial::portLost(serialPort))
            return reply;
        serial::waitForAnyInput(serialPort, limitUs - quiet + 1);
    }
}

CollectedReply collectUntilLineEndInto(std::uint8_t* into, int size, std::int64_t gapMs)
{
    CollectedReply reply;
    std::int64_t lastByte = sysclock::milliseconds();
    for (;;) {
        const int waiting = serial::bytesWaitingIn(serialPort);
        if (waiting > 0) {
            const int from = reply.length;
            reply.length += readInto(into, size, reply.length, waiting, reply.overflow);
            lastByte = sysclock::milliseconds();
            if (std::find(into + from, into + reply.length, '\n') != into + reply.length)
                return reply;
            // A full buffer without a line end is over-long anyway; the rest would only be dropped.
            if (reply.overflow)
                return reply;
            continue;
        }
        if (sysclock::milliseconds() - lastByte > gapMs || serial::portLost(serialPort))
            return reply;
        serial::waitForInput(serialPort, 0, 1);
    }
}

}  // namespace

void discardStaleInput()
{
    std::array<std::uint8_t, 256> scratch;
    // Bounded: a line that never stops talking must not keep the request from being sent.
    for (int round = 0; round < 64 && serial::bytesWaitingIn(serialPort) > 0; ++round)
        if (serial::read(serialPort, scratch.data(), scratch.size()) <= 0)
            break;
}

void sendFrame(const std::uint8_t* frame, int length)
{
    if (length <= 0)
        return;
    serial::write(serialPort, frame, static_cast<std::size_t>(length));
    const std::int64_t start = sysclock::milliseconds();
    while (serial::bytesWaitingOut(serialPort) > 0 && !serial::portLost(serialPort)
           && sysclock::milliseconds() - start <= drainLimitMs)
        sysclock::sleepMicroseconds(100);
}

bool awaitByteUntil(std::int64_t deadlineUs)
{
    for (;;) {
        if (serial::bytesWaitingIn(serialPort) > 0)
            return true;
        const std::int64_t now = sysclock::microseconds();
        if (now > deadlineUs || serial::portLost(serialPort))
            return false;
        serial::waitForAnyInput(serialPort, deadlineUs - now + 1);
    }
}

std::int64_t waitForFirstByte(std::int32_t limitMs)
{
    const std::int64_t start = sysclock::microseconds();
    if (!awaitByteUntil(start + std::int64_t{limitMs} * 1000))
        return -1;
    return (sysclock::microseconds() - start) / 1000;
}

CollectedReply collectUntilSilence(std::int64_t silenceMs)
{
    if (!incomingBuffer)
        return {};
    return collectUntilSilenceInto(incomingBuffer, static_cast<int>(linkBufferSize), silenceMs);
}

CollectedReply collectUntilLineEnd(std::int64_t gapMs)
{
    if (!incomingBuffer)
        return {};
    return collectUntilLineEndInto(incomingBuffer, static_cast<int>(linkBufferSize), gapMs);
}

void dropReply(std::int64_t silenceMs, bool ascii)
{
    std::array<std::uint8_t, linkBufferSize> scratch;
    const auto size = static_cast<int>(scratch.size());
    if (ascii)
        collectUntilLineEndInto(scratch.data(), size, silenceMs);
    else
        collectUntilSilenceInto(scratch.data(), size, silenceMs);
}
