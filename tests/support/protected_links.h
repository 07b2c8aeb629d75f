#pragma once
// Links another user planted in a shared sticky folder (as /tmp is), which the kernel refuses to
// follow where fs.protected_symlinks is on (most distributions' default). The setting is the
// machine's: where it is off and root may turn it on, it is on for the scope's life and put back
// after; the tests that need it share a ctest lock, so none puts it back under another.

#include <fstream>
#include <string>

#include <sys/types.h>
#include <unistd.h>

class ProtectedLinks {
public:
    ProtectedLinks()
    {
        if (geteuid() != 0) {
            failure_ = "planting another user's link needs root";
            return;
        }
        if (setting() == "1" || setting() == "2")
            return;
        std::ofstream(path) << "1\n";
        turnedOn_ = setting() == "1";
        if (!turnedOn_)
            failure_ = "fs.protected_symlinks is off here and cannot be turned on";
    }
    ~ProtectedLinks()
    {
        if (turnedOn_)
            std::ofstream(path) << "0\n";
    }
    ProtectedLinks(const ProtectedLinks&) = delete;
    ProtectedLinks& operator=(const ProtectedLinks&) = delete;

    // Empty when links are protected now; otherwise why not, for the skip message.
    const std::string& failure() const { return failure_; }

private:
    static constexpr const char* path = "/proc/sys/fs/protected_symlinks";
    static std::string setting()
    {
        std::string value;
        std::ifstream(path) >> value;
        return value;
    }

    bool turnedOn_ = false;
    std::string failure_;
};

// A link at `link` to `target`, owned by `owner` as if that user had made it.
inline bool plantLink(const std::string& target, const std::string& link, uid_t owner)
{
    return symlink(target.c_str(), link.c_str()) == 0 && lchown(link.c_str(), owner, owner) == 0;
}
