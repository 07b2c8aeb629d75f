#include "bench/sections.h"

#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>

#include <sys/wait.h>
#include <unistd.h>

#include "app/main_window.h"
#include "app/program_shell.h"
#include "app/window_ids.h"
#include "bench/harness.h"
#include "platform/gui/gui.h"

namespace {

// Exit code of bench/under_x11.sh when Xvfb, openbox or the other tools are missing.
constexpr int skipped = 77;
// More targets than the child has: a larger exit code is a crash.
constexpr int mostMissed = 16;

// On a real screen a long command pays for painting; these are the targets there.
constexpr ReadAllTargets underX11{
    .versusMinimalLoopAt115200 = 1.05, .versusMinimalLoopAt9600 = 1.03, .floorAt115200 = 1.10, .floorAt9600 = 1.03};

void waitUntilExposed(int window)
{
    QWidget* widget = gui::windowWidget(window);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!(widget && widget->windowHandle() && widget->windowHandle()->isExposed()) &&
           std::chrono::steady_clock::now() < deadline) {
        gui::pollEvent();
        usleep(1000);
    }
}

}  // namespace

int readAllX11Child()
{
    if (!startProgram())
        return 1;
    waitUntilExposed(win::main);
    benchReadAll("Read all under Xvfb with openbox, Monitor Window hidden", underX11);
    toggleMonitorWindow();
    waitUntilExposed(win::monitor);
    benchReadAll("Read all under Xvfb with openbox, Monitor Window shown", underX11);
    endProgram();
    return bench::missedTargets();
}

int benchReadAllUnderX11(const char* self)
{
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        execlp("bash", "bash", PARAMORA_SOURCE_DIR "/bench/under_x11.sh", self, "--readall-x11-child",
               static_cast<char*>(nullptr));
        _exit(skipped);
    }
    int status = 0;
    const bool ended = pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status);
    if (ended && WEXITSTATUS(status) == skipped) {
        std::printf("\nRead all under Xvfb: skipped (see above; bash tools/install-deps.sh installs the tools)\n");
        return 0;
    }
    // The child's exit code is the number of its targets missed.
    if (!ended || WEXITSTATUS(status) > mostMissed) {
        std::printf("\nRead all under Xvfb: the run did not finish (exit status %d)\n", status);
        return 1;
    }
    return WEXITSTATUS(status);
}
