#include "link/serial_link.h"

void closeSerialPort()
{
    serial::close(serialPort);
    portDeviceSilent = false;
}
