#pragma once
// Another program holding a device open the plain way, as most serial scripts and socat do: no lock
// file, no flock, no exclusive mode, only its descriptor. It is a child process, so the device
// shows in another process's /proc/<pid>/fd, and it keeps none of this process's descriptors but
// the one it holds (copies of the tests' other terminals would make them held too).

#include <algorithm>
#include <string>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

class OtherProcessHolding {
public:
    // The child opens `path` itself.
    explicit OtherProcessHolding(const std::string& path) { start(path.c_str(), -1); }
    // The child keeps its copy of this process's descriptor `inherited` (a terminal's master side).
    explicit OtherProcessHolding(int inherited) { start(nullptr, inherited); }
    ~OtherProcessHolding()
    {
        // Its descriptors are closed by the time it can be waited for.
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
    }
    OtherProcessHolding(const OtherProcessHolding&) = delete;
    OtherProcessHolding& operator=(const OtherProcessHolding&) = delete;

    bool holding() const { return holding_; }

private:
    void start(const char* path, int inherited)
    {
        int report[2];
        if (pipe2(report, O_CLOEXEC) != 0)
            return;
        const pid_t parent = getpid();
        child_ = fork();
        if (child_ == 0) {
            // Only async-signal-safe calls here: the test process may run other threads.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                _exit(1);
            const int held = path ? ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK) : inherited;
            const int low = held >= 0 ? std::min(held, report[1]) : report[1];
            const int high = held >= 0 ? std::max(held, report[1]) : report[1];
            close_range(3, low - 1, 0);
            close_range(low + 1, high - 1, 0);
            close_range(high + 1, ~0U, 0);
            const char ok = held >= 0 ? 1 : 0;
            [[maybe_unused]] const ssize_t told = ::write(report[1], &ok, 1);
            for (;;)
                pause();
        }
        ::close(report[1]);
        char ok = 0;
        holding_ = child_ > 0 && ::read(report[0], &ok, 1) == 1 && ok == 1;
        ::close(report[0]);
    }

    pid_t child_ = -1;
    bool holding_ = false;
};
