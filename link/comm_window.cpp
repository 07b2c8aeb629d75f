#include "link/comm_window.h"

// The connection window arrives with the Modbus link; until then it is absent.
void buildConnectionWindow() {}
void connectionWindowEvents(const gui::Event&) {}
void showConnectionWindow() {}
