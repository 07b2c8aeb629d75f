#include "app/value_editors.h"

// The value-editor windows come with the documents work; until then coded values are view-only.
void openDigitToDecWindow() {}
void openDigitToHexWindow() {}
void openBitToHexWindow() {}
void digitToDecEvents(const gui::Event&) {}
void digitToHexEvents(const gui::Event&) {}
void bitToHexEvents(const gui::Event&) {}
