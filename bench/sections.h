#pragma once
// The benchmark sections; each prints its figures through bench::report.

void benchDocuments();
void benchStartup(const char* self);
struct ReadAllTargets {
    // The kernel's and the pseudo-terminal's wake-ups, which the machine's load moves more than the
    // program does, are in every reply: so at each speed the program is judged against a minimal
    // loop timed in the same run, and the fixed figures against the floor are shown for
    // information.
    double versusMinimalLoopAt115200;  // program wall time / the minimal loop's
    double versusMinimalLoopAt9600;
    double floorAt115200;  // wall time / floor, not judged
    double floorAt9600;
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
