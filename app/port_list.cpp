#include <string>

#include "app/comm_window.h"
#include "app/connection_settings.h"
#include "link/port_scan.h"

void scanComPorts()
{
    takeLineSettingsFromWindow();
    gui::clearItems(commctl::portList);
    for (const std::string& path : freeSerialPorts())
        gui::addItem(commctl::portList, path);
    gui::addItem(commctl::portList, refreshPortsEntry);
    gui::setState(commctl::portList, 0);
    gui::enableControl(commctl::connectButton, gui::itemCount(commctl::portList) > 1);
}
