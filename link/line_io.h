#pragma once
// The steps of one exchange on the program's port, as the request engine uses them. Replies are
// collected into incomingBuffer and never stored past its 256 bytes: bytes beyond it are read and
// dropped, and the reply is marked as overflowing. Waiting blocks at most 1 ms at a time; every
// time limit is passed only when the elapsed time is strictly greater than it. A port found gone
// ends every wait at once: nothing more can come (serial::portLost tells the caller).

#include <cstdint>

struct CollectedReply {
    int length = 0;          // bytes stored in incomingBuffer from position 0
    bool overflow = false;   // more bytes arrived than the buffer holds
};

// Reads everything waiting in the input queue and drops it.
void discardStaleInput();

// Writes the frame and waits until the driver has sent it (or the port is gone).
void sendFrame(const std::uint8_t* frame, int length);

// Waits for the first reply byte. Returns the milliseconds waited, or -1 once more than
// `limitMs` have passed without one or the port is gone.
std::int64_t waitForFirstByte(std::int32_t limitMs);

// RTU: takes what is waiting, then collects until more than `silenceMs` pass without a new byte.
CollectedReply collectUntilSilence(std::int64_t silenceMs);

// ASCII: collects until a line feed arrives or more than `gapMs` pass without a new byte.
CollectedReply collectUntilLineEnd(std::int64_t gapMs);

// Waits until a byte arrives or the clock (sysclock::microseconds) passes `deadlineUs`. True when a
// byte is waiting; false once the deadline has passed or the port is gone.
bool awaitByteUntil(std::int64_t deadlineUs);

// Reads and drops one reply as the collectors above would take it (RTU: until the silence,
// ASCII: until its line end or the gap), leaving incomingBuffer as it is.
void dropReply(std::int64_t silenceMs, bool ascii);
