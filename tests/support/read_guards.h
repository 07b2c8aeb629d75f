#pragma once
// Guards for tests of readers that a fault could leave blocked on a FIFO or reading an endless
// file: the test then fails instead of hanging the suite or taking the machine's memory.

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

// While it lives: once the limit has passed, opens the FIFO for writing and closes it again, over
// and over, so a reader blocked on it sees the end of the file, and holds it open for reading, so
// a writer blocked on it goes on; the test then goes on to fail.
class FifoWatchdog {
public:
    FifoWatchdog(std::string fifo, std::chrono::milliseconds limit)
        : fifo_(std::move(fifo)), thread_([this, limit] { watch(limit); })
    {
    }
    ~FifoWatchdog()
    {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    // True when the reader was still waiting at the limit.
    bool fired()
    {
        std::lock_guard lock(mutex_);
        return fired_;
    }

private:
    void watch(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, limit, [this] { return stopped_; }))
            return;
        fired_ = true;
        // Kept open until the end: a writer that goes on writes into it rather than into no reader.
        const int reader = ::open(fifo_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stopped_; })) {
            // Succeeds only while a reader has the FIFO open or waits in open().
            const int fd = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0)
                ::close(fd);
            char drained[4096];
            while (reader >= 0 && ::read(reader, drained, sizeof drained) > 0) {
            }
        }
        if (reader >= 0)
            ::close(reader);
    }

    std::string fifo_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    bool fired_ = false;
    std::thread thread_;  // last: starts once the members it uses exist
};

// While it lives, the process's address space may grow by at most `headroom` bytes, so a read that
// never ends fails with bad_alloc (or a sanitizer's out-of-memory report) within moments.
class MemoryCeiling {
public:
    explicit MemoryCeiling(rlim_t headroom)
    {
        getrlimit(RLIMIT_AS, &previous_);
        rlim_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t ceiling = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + headroom;
        rlimit limited = previous_;
        if (pages > 0 && (previous_.rlim_max == RLIM_INFINITY || ceiling < previous_.rlim_max))
            limited.rlim_cur = ceiling;
        setrlimit(RLIMIT_AS, &limited);
    }
    ~MemoryCeiling() { setrlimit(RLIMIT_AS, &previous_); }
    MemoryCeiling(const MemoryCeiling&) = delete;
    MemoryCeiling& operator=(const MemoryCeiling&) = delete;

private:
    rlimit previous_{};
};
