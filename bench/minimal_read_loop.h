#pragma once
// The floor a read-all can reach on this machine: a bare loop over the same pseudo-terminal and
// simulated device, with the same silence rule and pause, and no windows. The kernel's wake-ups
// set it, not the program, so the program's read-all is judged against it.

#include <cstdint>
#include <string>
#include <vector>

struct MinimalLoopResult {
    double wallMs = -1;  // < 0: the port could not be opened
    int unanswered = 0;  // requests with no reply within the reply time-out
};

// Sends each request frame in turn on the port at `path`, waits up to `replyTimeoutMs` for the
// reply's first byte, collects it until the line has been silent for more than 230400 / baud ms,
// then pauses 115200 / baud ms from the end of that exchange before the next request.
MinimalLoopResult minimalReadLoop(const std::string& path, std::uint32_t baud,
                                  const std::vector<std::vector<std::uint8_t>>& requests, int replyTimeoutMs);
