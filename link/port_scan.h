#pragma once
// Which serial devices the port scan tries.

#include <string>
#include <vector>

// The serial devices in `deviceFolder` (ttyS*, ttyUSB*, ttyACM*, ttyAMA*, rfcomm*, tnt*) as full
// paths, in name order with numbers compared by value (ttyS2 before ttyS10).
std::vector<std::string> serialPortCandidates(const std::string& deviceFolder = "/dev");

// Tests: paths tried after the system's devices (pseudo-terminals); with `only`, instead of them.
void setExtraPortCandidates(std::vector<std::string> paths, bool only = false);
