#include "bench/sections.h"

#include <modbus.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "app/comm_window.h"
#include "app/connection.h"
#include "app/documents.h"
#include "app/parameter_commands.h"
#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "bench/harness.h"
#include "bench/minimal_read_loop.h"
#include "description/description_store.h"
#include "link/port_scan.h"
#include "platform/gui/gui.h"
#include "platform/gui/message_box.h"
#include "tests/support/simulated_device.h"

namespace {

int baudEntry(std::uint32_t baud)
{
    const std::uint32_t bauds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    for (int i = 0; i < 8; ++i)
        if (bauds[i] == baud)
            return i;
    return 3;
}

// The same registers read one at a time by a master built on libmodbus, which ends a reply by its
// length instead of by silence.
double libmodbusReadAllMs(const std::string& path, std::uint32_t baud)
{
    modbus_t* master = modbus_new_rtu(path.c_str(), static_cast<int>(baud), 'N', 8, 1);
    if (!master || modbus_connect(master) != 0) {
        if (master)
            modbus_free(master);
        return -1;
    }
    modbus_set_slave(master, 1);
    modbus_set_response_timeout(master, 1, 0);
    const auto start = std::chrono::steady_clock::now();
    for (const Parameter& p : parameters) {
        std::uint16_t value = 0;
        modbus_read_registers(master, p.address, 1, &value);
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    modbus_close(master);
    modbus_free(master);
    return ms;
}

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

using TimePoint = std::chrono::steady_clock::time_point;

// Each `to[i + shift] - from[i]` in ms, sorted.
std::vector<double> sortedDifferencesMs(const std::vector<TimePoint>& from, const std::vector<TimePoint>& to, std::size_t shift)
{
    std::vector<double> ms;
    for (std::size_t i = 0; i + shift < to.size() && i < from.size(); ++i)
        ms.push_back(std::chrono::duration<double, std::milli>(to[i + shift] - from[i]).count());
    std::sort(ms.begin(), ms.end());
    return ms;
}

double quantile(const std::vector<double>& sorted, double q)
{
    if (sorted.empty())
        return 0;
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(q * static_cast<double>(sorted.size())))];
}

std::string fixedFigure(double ratio)
{
    char text[16];
    std::snprintf(text, sizeof text, "<= %.2f", ratio);
    return text;
}

void readAllAt(std::uint32_t baud, const ReadAllTargets& targets)
{
    SimulatedDevice device({.baud = baud});
    if (!device.start())
        return;
    setExtraPortCandidates({device.path()}, true);
    documentState = 1;
    newDocument("ПЧ Tovik Zr12");
    for (const Parameter& p : parameters)
        device.setHoldingRegister(p.address, static_cast<std::uint16_t>(p.readValue));
    device.setHoldingRegister(0x5504, 18000);

    scanComPorts();
    gui::setState(commctl::portList, 0);
    gui::setState(commctl::baudList, baudEntry(baud));
    gui::setState(commctl::modelList, 0);
    connectDevice();
    if (connectedPort == 0) {
        // A run that measured nothing must not end as "0 of the targets missed".
        bench::report("could not connect at " + std::to_string(baud) + " baud", 1, "failures", 0);
        return;
    }
    gui::treeSelect(ctl::tree, treeItemAll);
    refreshTableForTree();
    // What the connection and the refill left for the screen is done before the user clicks.
    bench::settleScreen(300);
    const auto rows = static_cast<double>(RowToKey.count());
    device.clearRequests();

    // The program's CPU time is the process's without the simulated device's thread.
    const double cpuBefore = processCpuMs() - device.answeringCpuMs();
    const auto start = std::chrono::steady_clock::now();
    readAllParameters();
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double cpu = processCpuMs() - device.answeringCpuMs() - cpuBefore;
    // Between two requests: the device's answer (on a real line also the bytes' time), then the
    // program's silence wait, work and pause until the next request.
    const std::vector<TimePoint> requests = device.requestTimes(), answers = device.answerTimes();
    const std::vector<double> gaps = sortedDifferencesMs(requests, requests, 1);
    const std::vector<double> answering = sortedDifferencesMs(requests, answers, 0);
    const std::vector<double> paced = sortedDifferencesMs(answers, requests, 1);
    const std::vector<Bytes> frames = device.requests();
    disconnectDevice();

    // The same requests again, from a bare loop with no windows, on the same port and device; in
    // this thread, so with the program's timer slack.
    device.clearRequests();
    const MinimalLoopResult minimal = minimalReadLoop(device.path(), baud, frames, waitTimer);

    // Per parameter: the reply's silence limit and the pause. A pseudo-terminal carries bytes
    // without line time, so the bytes' own time adds nothing here (on a real line it would add
    // 15 bytes of 10 bits).
    const double perParameter = static_cast<double>(230400 / baud) + static_cast<double>(115200 / baud);
    const double floor = rows * perParameter;
    const std::string at = " at " + std::to_string(baud) + " baud (" + std::to_string(static_cast<int>(rows)) + " rows)";
    const bool fast = baud == 115200;
    bench::report("read all" + at, wall, "ms");
    if (minimal.unanswered > 0)
        std::printf("  the minimal loop had %d requests unanswered\n", minimal.unanswered);
    if (minimal.wallMs < 0)
        std::printf("  the minimal loop could not open the port\n");
    else
        bench::report("  minimal loop, same requests, silence rule and pauses", minimal.wallMs, "ms");
    // Not measured is not met.
    const double versusMinimal =
        minimal.wallMs > 0 ? wall / minimal.wallMs : std::numeric_limits<double>::infinity();
    bench::report("  program / minimal loop", versusMinimal, "x",
                  fast ? targets.versusMinimalLoopAt115200 : targets.versusMinimalLoopAt9600);
    bench::report("  floor of the silence rule and the pauses", floor, "ms");
    const double fixedFloor = fast ? targets.floorAt115200 : targets.floorAt9600;
    bench::report("  wall time / floor (fixed figure " + fixedFigure(fixedFloor) + ", not judged)", wall / floor, "x");
    if (minimal.wallMs > 0)
        bench::report("  minimal loop / floor", minimal.wallMs / floor, "x");
    bench::report("  program CPU time / wall time", 100.0 * cpu / wall, "%", 10.0);
    bench::report("  gap between requests, median (floor " + std::to_string(static_cast<int>(perParameter)) + " ms)",
                  quantile(gaps, 0.5), "ms");
    bench::report("  gap between requests, 90th percentile", quantile(gaps, 0.9), "ms");
    bench::report("  gap between requests, longest", gaps.empty() ? 0 : gaps.back(), "ms");
    bench::report("    of which the device's answer time, median", quantile(answering, 0.5), "ms");
    bench::report("    of which from the answer to the next request, median", quantile(paced, 0.5), "ms");
    bench::report("    of which from the answer to the next request, 90th pct.", quantile(paced, 0.9), "ms");
    const double reference = libmodbusReadAllMs(device.path(), baud);
    if (reference > 0) {
        bench::report("  libmodbus master, same registers one at a time", reference, "ms");
        bench::report("  program / libmodbus", wall / reference, "x");
    }
    setExtraPortCandidates({}, false);
    device.stop();
}

}  // namespace

void benchReadAll(const char* title, const ReadAllTargets& targets)
{
    bench::section(title);
    gui::setMessageBoxResponder([](const gui::MessageBoxCall& call) {
        if (call.buttons != gui::Buttons::YesNo)
            std::printf("  message: %s\n", call.text.c_str());
        return gui::Answer::Yes;  // the read-all question
    });
    waitTimer = 100;
    repeatCount = 3;
    logOut = 0;
    readAllAt(115200, targets);
    readAllAt(9600, targets);
    gui::setMessageBoxResponder([](const gui::MessageBoxCall&) { return gui::Answer::No; });
}
