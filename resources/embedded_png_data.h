#pragma once
// The PNG files of this folder, carried inside the program.

#include <cstddef>
#include <cstdint>

struct EmbeddedPng {
    const std::uint8_t* data;
    std::size_t size;
};

extern const EmbeddedPng logoPng;          // 169 x 35
extern const EmbeddedPng disconnectedPng;  // 15 x 15, a grey ring
extern const EmbeddedPng connectedPng;     // 15 x 15, a green dot
