#pragma once
// How line settings become terminal settings; apart from serial_port.h so that the rest of the
// program does not see the termios macros.

#include <termios.h>

#include "platform/serial/serial_port.h"

namespace serial {

// Raw mode, no flow control, non-blocking reads, and the settings' speed, size, parity and stop
// bits, on top of `line`'s other fields. False for settings the port refuses: 1.5 stop bits,
// data bits other than 7 and 8, an unknown baud rate or parity code.
bool makeTermios(const LineSettings& settings, termios& line);

// True when the line the driver reports back holds the speed, data bits, parity and stop bits
// asked for, and no flow control. A pseudo-terminal has no line: its driver always reports 8 data
// bits and parity off, so those two alone are not asked of it.
bool lineTaken(const termios& wanted, const termios& applied, bool pseudoTerminal);

}  // namespace serial
