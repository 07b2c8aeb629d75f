#pragma once
// The benchmark sections; each prints its figures through bench::report.

void benchDocuments();
void benchStartup(const char* self);
void benchReadAll();

// The child side of the start-up measurement: starts the program, reports when the Main Window
// is on screen, and exits.
int startupChild();
