#pragma once
// A small FAT or NTFS image mounted through its FUSE driver (fusefat, ntfs-3g) on a folder for the
// scope's life, as a user's USB stick is. FAT stores no owner or mode and refuses any change of
// them (ENOSYS) and any ftruncate that does not shrink a file (EPERM); NTFS without a user map
// shows every file as 0777 and ignores changes. Mounting needs root, /dev/fuse and the tools of
// dosfstools, fusefat and ntfs-3g; where one is missing, failure() says which, for a skip message.
//
// The driver runs in the foreground as a child of the test, so that it can be ended: a driver that
// stops answering (fusefat spins on some renames over a file rewritten in place) is killed after
// `patience`, which fails the waiting call instead of hanging the suite.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include <sys/types.h>

class FuseImage {
public:
    enum class Kind { fat, ntfs };

    // Makes the image file `<folder>.img` and mounts it on `folder`, which is made.
    FuseImage(Kind kind, const std::string& folder, std::chrono::seconds patience = std::chrono::seconds(120));
    ~FuseImage();
    FuseImage(const FuseImage&) = delete;
    FuseImage& operator=(const FuseImage&) = delete;

    const std::string& failure() const { return failure_; }
    // True when the driver had to be killed for not answering.
    bool hung() const { return hung_; }

private:
    void stopDriver();

    std::string folder_;
    std::string failure_;
    pid_t driver_ = -1;
    std::atomic<bool> hung_ = false;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool ending_ = false;
    std::thread watchdog_;
};
