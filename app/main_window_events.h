#pragma once
#include "platform/gui/gui.h"

// Every event of the Main Window: menu and popup commands, buttons, tree, in-place editors,
// the close box.
void mainWindowEvents(const gui::Event& event);
