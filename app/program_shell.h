#pragma once

#include "platform/gui/gui.h"
// Start-up, the main loop and the two ways of ending the program.

// Runs the program; returns the process exit code (always 0).
int programMain();

// The steps of programMain, apart so that tests can drive the program event by event:
// start-up up to the main loop (false when the Main Window could not be built), one pass of the
// loop for an event, and the release of what is still open.
bool startProgram();
void handleEvent(const gui::Event& event);
void endProgram();

// File, "Выход": closes the log and the windows; the loop then ends the program.
int closeProgramWindows();
// The Main Window's close box: save question, settings saved, port closed, program ends.
void closeBoxOfMainWindow();
// Takes the Main Window's current layout into windowLayout for the next saveSettings.
void captureWindowLayout();
