#pragma once
// The Main Window: menus, status bar, tab panel with tree, table, buttons, legend and logo, the
// three popups, and the hidden Wait and Monitor windows built with it.

#include "platform/gui/gui.h"

// Builds everything; false when the Main Window could not be opened (the program then ends).
bool buildMainWindow();
void layoutMainWindow();

// The four table colours, also shown as the legend.
inline const gui::Rgb colourChanged = gui::Rgb::of(250, 250, 175);
inline const gui::Rgb colourReadWritten = gui::Rgb::of(175, 250, 175);
inline const gui::Rgb colourFailed = gui::Rgb::of(250, 175, 175);
inline const gui::Rgb colourNotDefault = gui::Rgb::of(175, 250, 250);

// "Монитор": shows or hides the Monitor Window, keeping the Main Window active.
void toggleMonitorWindow();
// The help file and the operating manuals.
void openHelpFile();
void openManual(int command);
// The Wait Window around a long fill.
void showWaitWindow(bool show);
// Hides the in-place editor of currentRow, if there is one.
void hideCurrentEditor();
// Shows the connection state in the status bar.
void showConnectionPicture(bool connected);
