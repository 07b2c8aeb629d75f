#include "link/trace.h"

#include "link/link_sink.h"

void traceLine(std::string_view text)
{
    if (const LinkSink& sink = linkSink(); sink.traceLine)
        sink.traceLine(text);
}

std::string hexBytesText(const std::uint8_t* bytes, std::size_t length)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 3);
    for (std::size_t i = 0; i < length; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 0x0F]);
        text.push_back(' ');
    }
    return text;
}
