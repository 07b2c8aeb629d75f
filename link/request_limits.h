#pragma once
// How long the request engine waits for a reply and how often it tries; the settings file and the
// Comm Window set them.

#include <cstdint>

inline std::int32_t waitTimer = 100;  // reply time-out, ms
inline std::int32_t repeatCount = 3;  // attempts per request
