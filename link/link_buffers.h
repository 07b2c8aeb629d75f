#pragma once
// The two program-wide 256-byte blocks of the link: the request frame is built in outgoingBuffer,
// the reply collected in incomingBuffer. Start-up allocates them; a failed allocation leaves the
// pointer null, tells the link sink, and start-up goes on.

#include <cstddef>
#include <cstdint>

constexpr std::size_t linkBufferSize = 256;

inline std::uint8_t* outgoingBuffer = nullptr;
inline std::uint8_t* incomingBuffer = nullptr;

inline constexpr const char* outgoingBufferFailureText = "Ошибка выделения исходящего буфера памяти";
inline constexpr const char* incomingBufferFailureText = "Ошибка выделения входящего буфера памяти";

// Returns a zeroed block of `size` bytes made with new[], or nullptr; tests pass one that fails.
using LinkBufferAllocator = std::uint8_t* (*)(std::size_t size);

// Allocates outgoingBuffer, then incomingBuffer, each failure reported to the sink's
// bufferNotAllocated with its own text. A buffer that already exists is kept.
void allocateLinkBuffers(LinkBufferAllocator allocate = nullptr);

// Frees both blocks and leaves the pointers null.
void releaseLinkBuffers();
