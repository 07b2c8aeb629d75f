#pragma once
// Devices that answer late, for the tests of every layer that meets them: how late, in which
// framing, and how (one request at a time, what is sent meanwhile waiting on the line as at a slow
// gateway or a busy drive; or each attempt its delay after that attempt).

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/simulated_device.h"

struct Lateness {
    std::string framing;  // "RTU" or "ASCII"
    bool constant;
    int waitTimerMs;
    int latencyMs;

    DeviceOptions deviceOptions() const { return {.baud = 115200, .ascii = framing == "ASCII"}; }
    void applyTo(SimulatedDevice& device) const
    {
        if (constant)
            device.setAnswerLatency(latencyMs);
        else
            device.setAnswerDelay(latencyMs);
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
    *os << l.framing << (l.constant ? ", each attempt " : ", one request at a time, ") << l.latencyMs
        << " ms late, time-out " << l.waitTimerMs << " ms";
}

inline std::string latenessName(const ::testing::TestParamInfo<Lateness>& info)
{
    const Lateness& l = info.param;
    return l.framing + (l.constant ? "_constant_" : "_queued_") + std::to_string(l.latencyMs) + "ms_of_" +
           std::to_string(l.waitTimerMs);
}

// Both framings and kinds, at 2.5 and 5 times the default time-out, and a short time-out with the
// answer just past the time the attempts take.
inline std::vector<Lateness> latenesses()
{
    std::vector<Lateness> all;
    for (const char* framing : {"RTU", "ASCII"})
        for (bool constant : {false, true})
            for (auto [wait, latency] : {std::pair{100, 250}, {100, 500}, {30, 95}})
                all.push_back({framing, constant, wait, latency});
    return all;
}
