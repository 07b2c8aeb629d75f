#include "bench/sections.h"

#include <modbus.h>

#include <chrono>
#include <ctime>
#include <string>

#include "app/description_store.h"
#include "app/documents.h"
#include "app/parameter_commands.h"
#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "bench/harness.h"
#include "link/comm_window.h"
#include "link/connection.h"
#include "link/port_scan.h"
#include "platform/gui/gui.h"
#include "platform/gui/message_box.h"
#include "tests/support/simulated_device.h"

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

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

void readAllAt(std::uint32_t baud)
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
        std::printf("  could not connect at %u baud\n", baud);
        return;
    }
    gui::treeSelect(ctl::tree, treeItemAll);
    refreshTableForTree();
    const auto rows = static_cast<double>(RowToKey.count());

    const double cpuBefore = threadCpuMs();
    const auto start = std::chrono::steady_clock::now();
    readAllParameters();
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double cpu = threadCpuMs() - cpuBefore;
    disconnectDevice();

    // Per parameter: the reply's silence limit and the pause. A pseudo-terminal carries bytes
    // without line time, so the bytes' own time adds nothing here (on a real line it would add
    // 15 bytes of 10 bits).
    const double perParameter = static_cast<double>(230400 / baud) + static_cast<double>(115200 / baud);
    const double floor = rows * perParameter;
    const std::string at = " at " + std::to_string(baud) + " baud (" + std::to_string(static_cast<int>(rows)) + " rows)";
    bench::report("read all" + at, wall, "ms");
    bench::report("  floor of the silence rule and the pauses", floor, "ms");
    bench::report("  wall time / floor", wall / floor, "x", 1.05);
    bench::report("  program CPU time / wall time", 100.0 * cpu / wall, "%", 10.0);
    const double reference = libmodbusReadAllMs(device.path(), baud);
    if (reference > 0) {
        bench::report("  libmodbus master, same registers one at a time", reference, "ms");
        bench::report("  program / libmodbus", wall / reference, "x");
    }
    setExtraPortCandidates({}, false);
    device.stop();
}

}  // namespace

void benchReadAll()
{
    bench::section("Read all of ПЧ Tovik Zr12 over a pseudo-terminal against the simulated device");
    gui::setMessageBoxResponder([](const gui::MessageBoxCall& call) {
        if (call.buttons != gui::Buttons::YesNo)
            std::printf("  message: %s\n", call.text.c_str());
        return gui::Answer::Yes;  // the read-all question
    });
    waitTimer = 100;
    repeatCount = 3;
    logOut = 0;
    readAllAt(115200);
    readAllAt(9600);
    gui::setMessageBoxResponder([](const gui::MessageBoxCall&) { return gui::Answer::No; });
}
