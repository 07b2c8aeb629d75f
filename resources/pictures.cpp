#include "resources/pictures.h"

#include <png.h>

#include "resources/embedded_png_data.h"

namespace {

constexpr png_uint_32 largestSide = 4096;

Bitmap logo;
Bitmap disconnected;
Bitmap connected;

}  // namespace

Bitmap decodePng(const std::uint8_t* data, std::size_t size)
{
    Bitmap bitmap;
    if (!data || size == 0)
        return bitmap;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size))
        return bitmap;
    if (image.width == 0 || image.height == 0 || image.width > largestSide || image.height > largestSide) {
        png_image_free(&image);
        return bitmap;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return bitmap;
    }
    bitmap.width = static_cast<int>(image.width);
    bitmap.height = static_cast<int>(image.height);
    bitmap.pixels = std::move(pixels);
    return bitmap;
}

void decodeEmbeddedPictures()
{
    disconnected = decodePng(disconnectedPng.data, disconnectedPng.size);
    connected = decodePng(connectedPng.data, connectedPng.size);
    logo = decodePng(logoPng.data, logoPng.size);
}

const Bitmap& logoImage() { return logo; }
const Bitmap& disconnectedImage() { return disconnected; }
const Bitmap& connectedImage() { return connected; }
