#pragma once
// Sees whether anyone opens a file (inotify's IN_OPEN), where the file's content or a device's
// settings could not tell: proof that a port held by another program was not even probed.

#include <string>

#include <sys/inotify.h>
#include <unistd.h>

class OpenWatch {
public:
    explicit OpenWatch(const std::string& path)
    {
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd_ >= 0 && inotify_add_watch(fd_, path.c_str(), IN_OPEN) < 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~OpenWatch()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    bool watching() const { return fd_ >= 0; }

    // True when the file was opened since the watch began or since the last call. The event is
    // queued before open() returns, so nothing needs to be waited for.
    bool openedSinceLastLook()
    {
        bool opened = false;
        alignas(inotify_event) char events[4096];
        for (ssize_t got; (got = ::read(fd_, events, sizeof events)) > 0;) {
            for (const char* at = events; at < events + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                opened = opened || (event->mask & IN_OPEN) != 0;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return opened;
    }

private:
    int fd_ = -1;
};
