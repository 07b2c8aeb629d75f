#include "bench/harness.h"

#include <chrono>
#include <fstream>
#include <string>

#include "platform/clock/clock.h"
#include "platform/gui/gui.h"

namespace bench {

double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

int missedTargets()
{
    int missed = 0;
    for (const auto& figure : figures())
        missed += figure.target >= 0 && figure.value > figure.target;
    return missed;
}

void settleScreen(int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        gui::pollEvent();
        sysclock::sleep(1);
    }
}

}  // namespace bench
