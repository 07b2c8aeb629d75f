#pragma once
// Modbus ASCII framing: ':' then every byte of address, function and data as two hexadecimal
// digits, the LRC as two more, then CR LF. The body is the same byte sequence an RTU frame
// carries before its CRC.

#include <cstddef>
#include <cstdint>

// Two's complement of the 8-bit sum of the bytes.
std::uint8_t modbusLrc(const std::uint8_t* data, std::size_t length);

// Frame length for a body of `length` bytes: 1 + 2 * (length + 1) + 2.
constexpr std::size_t asciiFrameLength(std::size_t length) { return 2 * length + 5; }

// Writes the frame of `body` into `out` with upper-case digits and returns its length; writes
// nothing and returns 0 when it would not fit in `capacity`.
std::size_t asciiEncode(const std::uint8_t* body, std::size_t length, std::uint8_t* out, std::size_t capacity);

enum class AsciiDecodeStatus {
    Ok,
    NoEnd,      // no CR LF
    NoStart,    // no ':' before the CR LF
    BadDigit,   // a character that is not a hexadecimal digit, or an odd number of digits
    TooShort,   // fewer than address, function and LRC
    TooLong,    // the body does not fit in the caller's buffer
    BadLrc,
};

struct AsciiDecodeResult {
    AsciiDecodeStatus status = AsciiDecodeStatus::NoEnd;
    std::size_t length = 0;  // body bytes written (without the LRC) when status is Ok
};

// Decodes the frame that ends at the first CR LF of `text` and starts at the last ':' before it
// (a ':' restarts a frame, so noise before it is passed over; bytes after the LF are ignored).
// Digits may be upper or lower case. The body goes to `body`, never beyond `capacity`.
AsciiDecodeResult asciiDecode(const std::uint8_t* text, std::size_t length, std::uint8_t* body, std::size_t capacity);
