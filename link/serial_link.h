#pragma once
// The program's one serial port: opened by Connect, closed by Disconnect, a failed identification
// and the close box.

#include "platform/serial/serial_port.h"

inline serial::Port serialPort;

void closeSerialPort();
