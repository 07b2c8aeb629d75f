// The program as the user runs it, with a simulated Zr12 on a pseudo-terminal as its only serial
// port, for real-X checks of what the user does during a long exchange. The device answers at
// 9600 baud (the Comm Window's first choice), each answer late by PARAMORA_DEVICE_DELAY_MS
// (default 10 ms). Where PARAMORA_DEVICE_ANSWERS is set, the device answers that many requests
// and then falls silent, as one powered off or with its cable pulled.

#include <cstdlib>
#include <limits>
#include <string>

#include "app/program_shell.h"
#include "link/port_scan.h"
#include "tests/support/simulated_device.h"

int main()
{
    SimulatedDevice device({.baud = 9600});
    if (!device.start())
        return 1;
    device.setHoldingRegister(0x5504, 18000);  // Zr12's identification
    const char* delay = std::getenv("PARAMORA_DEVICE_DELAY_MS");
    device.setAnswerDelay(delay ? std::atoi(delay) : 10);
    if (const char* answers = std::getenv("PARAMORA_DEVICE_ANSWERS")) {
        device.queueFault(Fault{}, std::atoi(answers));
        device.queueFault(Fault::noReply(), std::numeric_limits<int>::max());
    }
    setExtraPortCandidates({device.path()}, true);
    return programMain();
}
