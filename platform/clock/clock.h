#pragma once
// Time for the link and the log: a monotonic millisecond counter, sleeping, and the local time.

#include <cstdint>

namespace sysclock {

// Milliseconds since an arbitrary fixed point; never goes back, unaffected by clock changes.
std::int64_t milliseconds();

// The same counter in microseconds, for time limits finer than a millisecond tick.
std::int64_t microseconds();

// Sleeps at least `ms` milliseconds (resumes after signals); zero or less returns at once.
void sleep(std::int64_t ms);
void sleepMicroseconds(std::int64_t us);

// Sleeps and waits of the calling thread end as close to their time as the kernel can: it would
// otherwise let each run up to 50 µs late, which a read of hundreds of registers pays twice per
// register (the silence limit and the pause).
void wakeOnTime();

struct LocalTime {
    int day = 0;     // 1-31
    int month = 0;   // 1-12
    int year = 0;    // four digits
    int hour = 0;    // 0-23
    int minute = 0;
    int second = 0;  // 0-60 (leap second)
};

LocalTime localTime();

}  // namespace sysclock
