// The Modbus ASCII decoder on arbitrary bytes, into a body buffer of the link's size.
#include <cstddef>
#include <cstdint>

#include "link/ascii_framing.h"
#include "link/link_buffers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint8_t body[linkBufferSize];
    const AsciiDecodeResult result = asciiDecode(data, size, body, sizeof body);
    if (result.status == AsciiDecodeStatus::Ok && result.length > sizeof body)
        __builtin_trap();
    return 0;
}
