#pragma once
// The port scan: which serial devices it tries and which of them are free to use.

#include <string>
#include <vector>

// The serial devices in `deviceFolder` (ttyS*, ttyUSB*, ttyACM*, ttyAMA*, rfcomm*, tnt*) as full
// paths, in name order with numbers compared by value (ttyS2 before ttyS10).
std::vector<std::string> serialPortCandidates(const std::string& deviceFolder = "/dev");

// The candidates, then the extra paths, that serial::isFree finds free, in that order.
std::vector<std::string> freeSerialPorts();

// Tests: paths tried after the system's devices (pseudo-terminals); with `only`, instead of them.
void setExtraPortCandidates(std::vector<std::string> paths, bool only = false);
