#pragma once
#include "platform/gui/gui.h"

// "О программе": builds the About Window and disables the Main Window until it closes.
void openAboutWindow();
// Its events, handled in the main loop: "Закрыть" and the close box, "Условия".
void aboutWindowEvents(const gui::Event& event);
