#include "bench/sections.h"

#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "app/program_shell.h"
#include "app/window_ids.h"
#include "bench/harness.h"
#include "platform/gui/gui.h"

int startupChild()
{
    if (!startProgram())
        return 1;
    QWidget* window = gui::windowWidget(win::main);
    while (!(window && window->windowHandle() && window->windowHandle()->isExposed()))
        gui::pollEvent();
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    std::_Exit(0);
}

// From the start of a new process (loading Qt included) to the Main Window on screen.
void benchStartup(const char* self)
{
    bench::section("Start-up to the Main Window shown (median of 7 runs of a fresh process)");
    const double ms = bench::medianMs(7, [self] {
        int out[2];
        if (pipe(out) != 0)
            return;
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            execl(self, self, "--startup-child", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        char buffer[16];
        [[maybe_unused]] const auto got = read(out[0], buffer, sizeof buffer);
        close(out[0]);
        waitpid(pid, nullptr, 0);
    });
    bench::report("start-up", ms, "ms", 300.0);
}
