#include "platform/clock/clock.h"

#include <cerrno>
#include <ctime>

#include <sys/prctl.h>

namespace sysclock {

std::int64_t milliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

std::int64_t microseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1000000 + now.tv_nsec / 1000;
}

void sleepMicroseconds(std::int64_t us)
{
    if (us <= 0)
        return;
    timespec left{static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

void sleep(std::int64_t ms)
{
    if (ms > 0)
        sleepMicroseconds(ms * 1000);
}

void wakeOnTime()
{
    // A refusal only leaves the default slack.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

LocalTime localTime()
{
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return {parts.tm_mday, parts.tm_mon + 1, parts.tm_year + 1900, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

}  // namespace sysclock
