#include "link/ascii_framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link_test_buffers.h"

namespace {

std::string encode(const std::vector<std::uint8_t>& body, std::size_t capacity = 256)
{
    std::vector<std::uint8_t> out(capacity, 0xEE);
    const std::size_t length = asciiEncode(body.data(), body.size(), out.data(), capacity);
    return std::string(out.begin(), out.begin() + static_cast<long>(length));
}

AsciiDecodeResult decode(const std::string& text, std::vector<std::uint8_t>& body, std::size_t capacity = 128)
{
    body.assign(capacity, 0xEE);
    AsciiDecodeResult result =
        asciiDecode(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), body.data(), capacity);
    body.resize(result.length);
    return result;
}

TEST(AsciiFraming, EncodesHexPairsLrcAndLineEnd)
{
    EXPECT_EQ(encode(hexBytes("11 03 00 6B 00 03")), ":1103006B00037E\r\n");
    EXPECT_EQ(encode(hexBytes("01 03 00 0A 00 01")), ":0103000A0001F1\r\n");
    EXPECT_EQ(encode(hexBytes("F7 06 AB CD EF 01")), ":F706ABCDEF019B\r\n");
    EXPECT_EQ(modbusLrc(hexBytes("01 03 00 00 00 01").data(), 6), 0xFB);
    EXPECT_EQ(asciiFrameLength(6), 17u);
}

TEST(AsciiFraming, EncodeRefusesTooSmallAnOutput)
{
    const auto body = hexBytes("01 03 00 0A 00 01");
    std::vector<std::uint8_t> out(16, 0xEE);
    EXPECT_EQ(asciiEncode(body.data(), body.size(), out.data(), out.size()), 0u);
    EXPECT_EQ(out[0], 0xEE);
    EXPECT_EQ(encode(body, 17).size(), 17u);
}

TEST(AsciiFraming, DecodesWhatItEncodes)
{
    std::vector<std::uint8_t> body;
    for (const char* hex : {"01 03 02 00 2A", "11 03 00 6B 00 03", "F7 10 00 01 00 02 04 00 0A 01 02", "01 83 02"}) {
        const auto original = hexBytes(hex);
        const AsciiDecodeResult r = decode(encode(original), body);
        EXPECT_EQ(r.status, AsciiDecodeStatus::Ok) << hex;
        EXPECT_EQ(body, original) << hex;
    }
}

TEST(AsciiFraming, DecodeTakesTheFrameBetweenTheLastColonAndTheFirstLineEnd)
{
    std::vector<std::uint8_t> body;
    EXPECT_EQ(decode(std::string("\0noise:12:", 10) + "010302002AD0\r\n", body).status, AsciiDecodeStatus::Ok);
    EXPECT_EQ(body, hexBytes("01 03 02 00 2A"));
    EXPECT_EQ(decode(":010302002ad0\r\n:junk", body).status, AsciiDecodeStatus::Ok);  // lower case, tail ignored
    EXPECT_EQ(body, hexBytes("01 03 02 00 2A"));
}

TEST(AsciiFraming, DecodeRejectsBrokenFrames)
{
    struct Case {
        std::string text;
        AsciiDecodeStatus status;
    };
    const Case cases[] = {
        {":010302002AD0", AsciiDecodeStatus::NoEnd},
        {":010302002AD0\n", AsciiDecodeStatus::NoEnd},
        {":010302002AD0\r", AsciiDecodeStatus::NoEnd},
        {"", AsciiDecodeStatus::NoEnd},
        {"010302002AD0\r\n", AsciiDecodeStatus::NoStart},
        {"\r\n:010302002AD0\r\n", AsciiDecodeStatus::NoStart},
        {":010302002AD00\r\n", AsciiDecodeStatus::BadDigit},
        {":0103020G2AD0\r\n", AsciiDecodeStatus::BadDigit},
        {":01 302002AD0\r\n", AsciiDecodeStatus::BadDigit},
        {":01FF\r\n", AsciiDecodeStatus::TooShort},
        {":\r\n", AsciiDecodeStatus::TooShort},
        {":010302002ACF\r\n", AsciiDecodeStatus::BadLrc},
        {":010302002BCE\r\n", AsciiDecodeStatus::BadLrc},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> body;
        const AsciiDecodeResult r = decode(c.text, body);
        EXPECT_EQ(r.status, c.status) << c.text;
        EXPECT_EQ(r.length, 0u) << c.text;
    }
}

TEST(AsciiFraming, DecodeNeverWritesPastTheBody)
{
    std::vector<std::uint8_t> body(6, 0xEE);
    const std::string text = ":0110000100020400" "0A0102" "DB\r\n";
    const AsciiDecodeResult r =
        asciiDecode(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), body.data(), 4);
    EXPECT_EQ(r.status, AsciiDecodeStatus::TooLong);
    EXPECT_EQ(body[4], 0xEE);
    EXPECT_EQ(body[5], 0xEE);
}

}  // namespace
