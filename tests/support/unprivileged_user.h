#pragma once
// Runs part of a test as an ordinary user, so that file permissions stop the program as they stop
// a real user (root may write any file). As root the effective ids drop to nobody (65534) for the
// scope's life and the working folder is handed to that user first; as anyone else nothing changes.

#include <string>
#include <vector>

#include <sys/types.h>

class UnprivilegedUser {
public:
    // Files named in `othersFiles` (paths inside the folder) keep their owner and group, so the
    // user finds files of other users there.
    explicit UnprivilegedUser(const std::string& workingFolder, const std::vector<std::string>& othersFiles = {});
    ~UnprivilegedUser();
    UnprivilegedUser(const UnprivilegedUser&) = delete;
    UnprivilegedUser& operator=(const UnprivilegedUser&) = delete;

    // Empty when the scope runs as an ordinary user who may write the working folder; otherwise why
    // not, for the skip message.
    const std::string& failure() const { return failure_; }

private:
    bool dropped_ = false;
    std::vector<gid_t> groups_;
    std::string failure_;
};

// True when the current effective user may not write the file (what a write-protected case needs).
bool writeProtected(const std::string& path);
