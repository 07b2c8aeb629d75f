#pragma once
// How long the request engine waits for a reply and how often it tries; the settings file and the
// Comm Window set them.

#include <algorithm>
#include <cstdint>

inline std::int32_t waitTimer = 100;  // reply time-out, ms
inline std::int32_t repeatCount = 3;  // attempts per request

// The Comm Window's fields hold no more than this. No serial device needs a longer time-out, and
// the engine does not service the windows while it waits, so a larger one would freeze the program.
inline constexpr std::int32_t longestWaitTimer = 10000;
inline constexpr std::int32_t mostRepeats = 5;

// Every value from the settings file or the Comm Window goes through these, so what the window
// shows is what the engine uses: a value out of range takes the nearer bound.
inline void setWaitTimer(std::int64_t ms)
{
    waitTimer = static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, 0, longestWaitTimer));
}
inline void setRepeatCount(std::int64_t attempts)
{
    repeatCount = static_cast<std::int32_t>(std::clamp<std::int64_t>(attempts, 0, mostRepeats));
}
