#pragma once
// The program's one serial port: opened by Connect, closed by Disconnect, a failed identification
// and the close box.

#include "platform/serial/serial_port.h"

inline serial::Port serialPort;

// The device on the port let a whole wait for late answers pass in silence, and has said nothing
// since: it is silent, not late. Forgotten when the port closes.
inline bool portDeviceSilent = false;

// Closes the port and forgets what its device did.
void closeSerialPort();
