#include "link/ascii_framing.h"

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

int digitValue(std::uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void putHex(std::uint8_t*& out, std::uint8_t byte)
{
    *out++ = static_cast<std::uint8_t>(hexDigits[byte >> 4]);
    *out++ = static_cast<std::uint8_t>(hexDigits[byte & 0x0F]);
}

}  // namespace

std::uint8_t modbusLrc(const std::uint8_t* data, std::size_t length)
{
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum = static_cast<std::uint8_t>(sum + data[i]);
    return static_cast<std::uint8_t>(-sum);
}

std::size_t asciiEncode(const std::uint8_t* body, std::size_t length, std::uint8_t* out, std::size_t capacity)
{
    const std::size_t total = asciiFrameLength(length);
    if (!out || total > capacity || (length > 0 && !body))
        return 0;
    std::uint8_t* at = out;
    *at++ = ':';
    for (std::size_t i = 0; i < length; ++i)
        putHex(at, body[i]);
    putHex(at, modbusLrc(body, length));
    *at++ = '\r';
    *at++ = '\n';
    return total;
}

AsciiDecodeResult asciiDecode(const std::uint8_t* text, std::size_t length, std::uint8_t* body, std::size_t capacity)
{
    if (!text)
        return {AsciiDecodeStatus::NoEnd, 0};
    std::size_t end = 0;
    while (end + 1 < length && !(text[end] == '\r' && text[end + 1] == '\n'))
        ++end;
    if (end + 1 >= length)
        return {AsciiDecodeStatus::NoEnd, 0};
    std::size_t start = end;
    while (start > 0 && text[start - 1] != ':')
        --start;
    if (start == 0)
        return {AsciiDecodeStatus::NoStart, 0};

    const std::size_t digits = end - start;
    if (digits % 2 != 0)
        return {AsciiDecodeStatus::BadDigit, 0};
    const std::size_t bytes = digits / 2;  // body and LRC
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        const int high = digitValue(text[start + 2 * i]);
        const int low = digitValue(text[start + 2 * i + 1]);
        if (high < 0 || low < 0)
            return {AsciiDecodeStatus::BadDigit, 0};
        const auto byte = static_cast<std::uint8_t>(high << 4 | low);
        sum = static_cast<std::uint8_t>(sum + byte);
        if (i + 1 < bytes) {
            if (!body || i >= capacity)
                return {AsciiDecodeStatus::TooLong, 0};
            body[i] = byte;
        }
    }
    if (bytes < 3)
        return {AsciiDecodeStatus::TooShort, 0};
    if (sum != 0)
        return {AsciiDecodeStatus::BadLrc, 0};
    return {AsciiDecodeStatus::Ok, bytes - 1};
}
