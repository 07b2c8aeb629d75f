#pragma once
// The serial port as the link sees it: open by device path with the line settings, count the bytes
// waiting in each direction, read only what is waiting, write, close. Nothing here blocks longer
// than the caller asks, and a device that disappears reads as silence plus a flag.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/serial/open_elsewhere.h"

namespace serial {

struct LineSettings {
    std::uint32_t baud = 9600;
    std::uint16_t parityCode = 0;  // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint16_t dataBits = 8;    // 7 or 8
    float stopBits = 1.0f;         // 1.0 or 2.0; 1.5 is refused
};

struct Port {
    int fd = -1;
    bool lost = false;
};

// Opens the device exclusively with raw 8-bit-clean settings, no flow control and empty queues.
// Fails (and leaves the port closed) when the path does not open, another holder has the port
// (a lock file of a live process, see lock_files.h, and another process that merely has it open,
// see open_elsewhere.h, included), or the driver does not take the settings. An open port is
// closed first.
bool open(Port& port, std::string_view path, const LineSettings& settings);

void close(Port& port);

// True when the device opens as a terminal and no other holder keeps it by the marks open()
// honours. Only looks: the terminal's settings, queues and lock are left as they were, and a port
// another holder keeps is not opened at all. The second form takes the processes' descriptors
// from one look made for a whole scan.
bool isFree(std::string_view path);
bool isFree(std::string_view path, const DevicesOpenElsewhere& openElsewhere);

bool isOpen(const Port& port);

// True once the device has gone away (unplugged adapter, hung-up terminal) since the open.
bool portLost(const Port& port);

// Asks the driver, without waiting, whether the device has gone away since the last look (a
// hang-up shows only when someone looks); then the same as portLost.
bool checkForLoss(Port& port);

// Bytes received and not yet read; 0 when closed or lost.
int bytesWaitingIn(Port& port);

// Bytes written and not yet sent by the driver; 0 when closed or lost.
int bytesWaitingOut(Port& port);

// Reads at most `capacity` of the bytes already waiting; never waits. Returns the count read.
int read(Port& port, std::uint8_t* buffer, std::size_t capacity);

// Writes the bytes, waiting at most about a second for room in the driver's queue.
// Returns the count written (less than `length` when the port is closed, lost or stuck).
int write(Port& port, const std::uint8_t* data, std::size_t length);

// Blocks until more than `alreadySeen` bytes are waiting or `milliseconds` have passed; returns
// the bytes waiting. A lost port sleeps out the time so callers' loops do not spin.
int waitForInput(Port& port, int alreadySeen, int milliseconds);

// Blocks until input is waiting or `microseconds` have passed, whichever comes first; true when
// input is waiting. Meant for a caller that reads everything as it comes, so that an empty queue
// can be waited on without polling. A lost port sleeps out the time.
bool waitForAnyInput(Port& port, std::int64_t microseconds);

}  // namespace serial
