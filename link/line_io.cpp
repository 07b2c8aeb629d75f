#include "link/line_io.h"

#include <algorithm>
#include <array>

#include "link/link_buffers.h"
#include "link/serial_link.h"
#include "platform/clock/clock.h"

namespace {

constexpr std::int64_t drainLimitMs = 2000;

// When the line last did something of ours: a frame went out or a reply ended.
std::int64_t lastLineActivityUs = 0;

// Reads `count` waiting bytes: as many as fit go to incomingBuffer at `at`, the rest is dropped.
// Returns the bytes stored.
int readInto(int at, int count, bool& overflow)
{
    const int room = std::max(0, static_cast<int>(linkBufferSize) - at);
    int stored = 0;
    while (stored < std::min(count, room)) {
        const int got = serial::read(serialPort, incomingBuffer + at + stored,
                                     static_cast<std::size_t>(std::min(count, room) - stored));
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
    lastLineActivityUs = sysclock::microseconds();
}

std::int64_t waitForFirstByte(std::int32_t limitMs)
{
    const std::int64_t limitUs = std::int64_t{limitMs} * 1000;
    const std::int64_t start = sysclock::microseconds();
    for (;;) {
        const std::int64_t waited = sysclock::microseconds() - start;
        if (serial::bytesWaitingIn(serialPort) > 0)
            return waited / 1000;
        if (waited > limitUs || serial::portLost(serialPort))
            return -1;
        serial::waitForAnyInput(serialPort, limitUs - waited + 1);
    }
}

// Bytes are taken as they arrive, so that waiting for the next one can sleep in the driver until
// it comes or the silence limit has passed, measured to the microsecond.
CollectedReply collectUntilSilence(std::int64_t silenceMs)
{
    CollectedReply reply;
    if (!incomingBuffer)
        return reply;
    const std::int64_t limitUs = silenceMs * 1000;
    std::int64_t lastByte = sysclock::microseconds();
    for (;;) {
        const int waiting = serial::bytesWaitingIn(serialPort);
        if (waiting > 0) {
            const int before = reply.length;
            const bool overflowBefore = reply.overflow;
            reply.length += readInto(reply.length, waiting, reply.overflow);
            // A queue that reports bytes but yields none must not hold the loop: only the
            // silence limit ends it then.
            if (reply.length != before || reply.overflow != overflowBefore) {
                lastByte = sysclock::microseconds();
                continue;
            }
        }
        const std::int64_t quiet = sysclock::microseconds() - lastByte;
        if (quiet > limitUs || serial::portLost(serialPort))
            break;
        serial::waitForAnyInput(serialPort, limitUs - quiet + 1);
    }
    lastLineActivityUs = sysclock::microseconds();
    return reply;
}

CollectedReply collectUntilLineEnd(std::int64_t gapMs)
{
    CollectedReply reply;
    if (!incomingBuffer)
        return reply;
    std::int64_t lastByte = sysclock::milliseconds();
    for (;;) {
        const int waiting = serial::bytesWaitingIn(serialPort);
        if (waiting > 0) {
            const int from = reply.length;
            reply.length += readInto(reply.length, waiting, reply.overflow);
            lastByte = sysclock::milliseconds();
            if (std::find(incomingBuffer + from, incomingBuffer + reply.length, '\n') != incomingBuffer + reply.length)
                break;
            // A full buffer without a line end is over-long anyway; the rest would only be dropped.
            if (reply.overflow)
                break;
            continue;
        }
        if (sysclock::milliseconds() - lastByte > gapMs || serial::portLost(serialPort))
            break;
        serial::waitForInput(serialPort, 0, 1);
    }
    lastLineActivityUs = sysclock::microseconds();
    return reply;
}

void dropLateAnswers(std::int64_t quietMs)
{
    const std::int64_t until = lastLineActivityUs + std::max<std::int64_t>(quietMs, 0) * 1000;
    std::array<std::uint8_t, 256> scratch;
    for (;;) {
        if (serial::bytesWaitingIn(serialPort) > 0)
            serial::read(serialPort, scratch.data(), scratch.size());
        const std::int64_t now = sysclock::microseconds();
        if (now > until || serial::portLost(serialPort))
            return;
        serial::waitForAnyInput(serialPort, until - now + 1);
    }
}
