#include "resources/pictures.h"

#include <gtest/gtest.h>

#include <vector>

#include <zlib.h>

#include "resources/embedded_png_data.h"

namespace {

struct Rgba {
    int r, g, b, a;
};

Rgba pixel(const Bitmap& bitmap, int x, int y)
{
    const auto at = static_cast<std::size_t>((y * bitmap.width + x) * 4);
    return {bitmap.pixels[at], bitmap.pixels[at + 1], bitmap.pixels[at + 2], bitmap.pixels[at + 3]};
}

std::vector<std::uint8_t> copyOf(const EmbeddedPng& png) { return {png.data, png.data + png.size}; }

TEST(Pictures, EmbeddedPicturesDecodeToTheirSizesAndLooks)
{
    decodeEmbeddedPictures();
    const Bitmap& logo = logoImage();
    const Bitmap& ring = disconnectedImage();
    const Bitmap& dot = connectedImage();
    ASSERT_EQ(logo.width, 169);
    ASSERT_EQ(logo.height, 35);
    ASSERT_EQ(logo.pixels.size(), 169u * 35u * 4u);
    ASSERT_EQ(ring.width, 15);
    ASSERT_EQ(ring.height, 15);
    ASSERT_EQ(dot.width, 15);
    ASSERT_EQ(dot.height, 15);
    ASSERT_EQ(dot.pixels.size(), 15u * 15u * 4u);

    const Rgba centre = pixel(dot, 7, 7);
    EXPECT_EQ(centre.a, 255);
    EXPECT_GT(centre.g, centre.r + 50);
    EXPECT_GT(centre.g, centre.b + 50);
    EXPECT_EQ(pixel(dot, 0, 0).a, 0);

    EXPECT_EQ(pixel(ring, 7, 7).a, 0);  // a ring, not a disc
    const Rgba edge = pixel(ring, 2, 7);
    EXPECT_GT(edge.a, 128);
    EXPECT_EQ(edge.r, edge.g);
    EXPECT_EQ(edge.g, edge.b);
    EXPECT_EQ(pixel(ring, 0, 0).a, 0);

    EXPECT_EQ(pixel(logo, 84, 2).a, 255);
    EXPECT_LT(pixel(logo, 0, 0).a, 255);  // rounded corners
}

TEST(Pictures, AnythingThatDoesNotDecodeGivesAnEmptyBitmap)
{
    std::vector<std::vector<std::uint8_t>> broken;
    auto flipped = copyOf(connectedPng);
    flipped[flipped.size() / 2] ^= 0xFF;  // inside the image data: its chunk check fails
    broken.push_back(flipped);
    auto truncated = copyOf(logoPng);
    truncated.resize(truncated.size() / 2);
    broken.push_back(truncated);
    broken.push_back(copyOf(logoPng));
    broken.back()[1] = 'X';  // not a PNG signature
    broken.push_back({0x89, 'P', 'N', 'G'});

    // A header that claims 100000 x 100000 pixels, with a valid chunk check.
    auto huge = copyOf(disconnectedPng);
    const std::uint8_t side[4] = {0x00, 0x01, 0x86, 0xA0};
    std::copy(side, side + 4, huge.begin() + 16);
    std::copy(side, side + 4, huge.begin() + 20);
    const uLong crc = crc32(0, huge.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        huge[29 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    broken.push_back(huge);

    for (const auto& bytes : broken) {
        const Bitmap bitmap = decodePng(bytes.data(), bytes.size());
        EXPECT_TRUE(bitmap.empty());
        EXPECT_EQ(bitmap.width, 0);
        EXPECT_EQ(bitmap.height, 0);
    }
    EXPECT_TRUE(decodePng(nullptr, 100).empty());
    EXPECT_TRUE(decodePng(logoPng.data, 0).empty());
}

}  // namespace
