#pragma once
#include "platform/gui/gui.h"

// The hidden Comm Window, built at start-up with its port list filled.
void buildConnectionWindow();
void connectionWindowEvents(const gui::Event& event);
// Connection, "Настройки связи".
void showConnectionWindow();
