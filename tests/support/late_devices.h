#pragma once
// Devices that answer late, for the tests of every layer that meets them: how late, in which
// framing, and how (one request at a time, what is sent meanwhile waiting on the line as at a slow
// gateway or a busy drive; or each attempt its delay after that attempt), with how many attempts,
// and whether the latency holds or swings about its value.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "link/request_limits.h"
#include "tests/support/simulated_device.h"

struct Lateness {
    std::string framing;  // "RTU" or "ASCII"
    bool constant;
    int attempts;
    int waitTimerMs;
    int latencyMs;
    int swingMs = 0;  // answers take latencyMs, latencyMs + swingMs, latencyMs - swingMs in turn

    DeviceOptions deviceOptions() const { return {.baud = 115200, .ascii = framing == "ASCII"}; }
    // The device's lateness, and the time-out and attempts the program uses with it.
    void applyTo(SimulatedDevice& device) const
    {
        if (constant)
            device.setAnswerLatency(latencyMs, swingMs);
        else
            device.setAnswerDelay(latencyMs, swingMs);
        waitTimer = waitTimerMs;
        repeatCount = attempts;
    }
};

// A write's echo as the trace shows it: its request, once or more (answers to several attempts
// that came back to back are shown together).
inline bool isOwnEcho(const std::string& reply, const std::string& request)
{
    if (request.empty() || reply.empty() || reply.size() % request.size() != 0)
        return false;
    for (std::size_t at = 0; at < reply.size(); at += request.size())
        if (reply.compare(at, request.size(), request) != 0)
            return false;
    return true;
}

inline void PrintTo(const Lateness& l, std::ostream* os)
{
    *os << l.framing << (l.constant ? ", each attempt " : ", one request at a time, ") << l.latencyMs;
    if (l.swingMs > 0)
        *os << " ± " << l.swingMs;
    *os << " ms late, " << l.attempts << " attempts, time-out " << l.waitTimerMs << " ms";
}

inline std::string latenessName(const ::testing::TestParamInfo<Lateness>& info)
{
    const Lateness& l = info.param;
    return l.framing + (l.constant ? "_constant_" : "_queued_") + std::to_string(l.latencyMs) +
           (l.swingMs > 0 ? "_swing_" + std::to_string(l.swingMs) : std::string()) + "ms_of_" +
           std::to_string(l.waitTimerMs) + "ms_x" + std::to_string(l.attempts);
}

// Both framings and kinds. Three attempts: at 2.5 and 5 times the default time-out, and a short
// time-out with the answer just past the time the attempts take. One and two attempts: twice the
// time-out and three and a half times, well within the wait for an answer after the attempts
// (3 and 5 time-outs). And a latency that swings by a fifth of itself either way, with each count
// of attempts: still within that wait, and never twice its lowest.
inline std::vector<Lateness> latenesses()
{
    struct Case {
        int attempts;
        int waitTimerMs;
        int latencyMs;
        int swingMs;
    };
    constexpr Case cases[] = {
        {3, 100, 250, 0}, {3, 100, 500, 0}, {3, 30, 95, 0},
        {1, 100, 200, 0}, {2, 100, 350, 0},
        {1, 100, 180, 36}, {2, 100, 300, 60}, {3, 100, 400, 80},
    };
    std::vector<Lateness> all;
    for (const char* framing : {"RTU", "ASCII"})
        for (bool constant : {false, true})
            for (const Case& c : cases)
                all.push_back({framing, constant, c.attempts, c.waitTimerMs, c.latencyMs, c.swingMs});
    return all;
}
