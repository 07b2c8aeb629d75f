#pragma once
// The checks of one reply the request engine collected: checksum, address, function with the
// error walk, then the result. Each leaves its outcome in modbusRequest.status (and read values in
// modbusRequest.values) and its lines in the trace. Apart from the exchange so that the checks can
// be driven with any bytes at all.

#include <cstdint>

#include "link/line_io.h"

struct ReplyCheck {
    bool success = false;
    bool noFurtherAttempt = false;  // a standard exception reply
};

enum class RequestDirection { Read, Write };

// Answers that waited on the line while the program was busy come back to back as one reply. RTU:
// how many whole reply frames, each with its good CRC, make up the `length` bytes (0 when they do
// not), and the length of the first. ASCII: how many complete frames (':' to line feed) the text
// holds; the decoder takes the first.
struct BackToBack {
    int frames = 0;
    int firstLength = 0;
};
BackToBack rtuFramesBackToBack(const std::uint8_t* bytes, int length);
int asciiFramesIn(const std::uint8_t* text, int length);

// RTU: the reply in incomingBuffer to the request frame in outgoingBuffer.
ReplyCheck checkRtuReply(RequestDirection direction, const CollectedReply& reply);

// ASCII: the reply text in incomingBuffer to the request whose body (address, function, data,
// no checksum) is `requestBody`.
ReplyCheck checkAsciiReply(RequestDirection direction, const std::uint8_t* requestBody, const CollectedReply& reply);
