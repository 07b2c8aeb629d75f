#pragma once
// The benchmark sections; each prints its figures through bench::report.

void benchDocuments();
void benchStartup(const char* self);
struct ReadAllTargets {
    // At 115200 baud the kernel's wake-ups outweigh the silence rule, so the program is judged
    // against a minimal loop timed in the same run; the fixed figure against the floor is shown
    // for information.
    double versusMinimalLoop;  // program wall time / the minimal loop's, at 115200 baud
    double floorAt115200;      // wall time / floor at 115200 baud, not judged
    double at9600;             // wall time / floor at 9600 baud
};
void benchReadAll(const char* title, const ReadAllTargets& targets);
// Runs the read-all figures under Xvfb with openbox in a child process (bench/under_x11.sh), with
// the Monitor Window hidden and shown; returns the number of targets the child missed.
int benchReadAllUnderX11(const char* self);

// The child side of the start-up measurement: starts the program, reports when the Main Window
// is on screen, and exits.
int startupChild();
// The child side of the read-all figures under X; its exit code is the number of targets missed.
int readAllX11Child();
