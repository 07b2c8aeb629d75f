#pragma once
// Start-up, the main loop and the two ways of ending the program.

// Runs the program; returns the process exit code (always 0).
int programMain();

// File, "Выход": closes the log and the windows; the loop then ends the program.
int closeProgramWindows();
// The Main Window's close box: save question, settings saved, port closed, program ends.
void closeBoxOfMainWindow();
