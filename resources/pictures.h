#pragma once
// The pictures the windows show, decoded from the embedded PNGs once at start-up.

#include <cstddef>
#include <cstdint>
#include <vector>

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // RGBA, 4 bytes a pixel, rows from the top, not premultiplied

    bool empty() const { return pixels.empty(); }
};

// An empty bitmap for anything that does not decode, and for pictures above 4096 pixels a side.
Bitmap decodePng(const std::uint8_t* data, std::size_t size);

// disconnectedImage, connectedImage, then logoImage; a picture that fails stays empty.
void decodeEmbeddedPictures();

const Bitmap& logoImage();
const Bitmap& disconnectedImage();
const Bitmap& connectedImage();
