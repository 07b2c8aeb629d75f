#pragma once
// The three value-editor windows, opened for the parameter of the editor context.

#include "platform/gui/gui.h"

void openDigitToDecWindow();
void openDigitToHexWindow();
void openBitToHexWindow();
void digitToDecEvents(const gui::Event& event);
void digitToHexEvents(const gui::Event& event);
void bitToHexEvents(const gui::Event& event);
