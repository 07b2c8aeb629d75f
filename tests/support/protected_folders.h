#pragma once
// Files another user planted in a shared sticky folder (as /tmp is), which the kernel guards where
// fs.protected_symlinks and fs.protected_regular are on (most distributions' default). The
// settings are the machine's: where one is off and root may turn it on, it is on for the scope's
// life and put back after; the tests that need them share a ctest lock (their names say
// "StickyFolder"), so none puts one back under another.

#include <fstream>
#include <string>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

// One of the kernel's protections of shared sticky folders (fs.protected_symlinks: another
// user's link is not followed; fs.protected_regular: another user's file is not opened to be
// made), on for the scope's life.
class ProtectedFolders {
public:
    explicit ProtectedFolders(const std::string& setting = "protected_symlinks") : path_("/proc/sys/fs/" + setting)
    {
        if (geteuid() != 0) {
            failure_ = "planting another user's files needs root";
            return;
        }
        if (value() == "1" || value() == "2")
            return;
        std::ofstream(path_) << "1\n";
        turnedOn_ = value() == "1";
        if (!turnedOn_)
            failure_ = "fs." + setting + " is off here and cannot be turned on";
    }
    ~ProtectedFolders()
    {
        if (turnedOn_)
            std::ofstream(path_) << "0\n";
    }
    ProtectedFolders(const ProtectedFolders&) = delete;
    ProtectedFolders& operator=(const ProtectedFolders&) = delete;

    // Empty when the protection is on now; otherwise why not, for the skip message.
    const std::string& failure() const { return failure_; }

private:
    std::string value() const
    {
        std::string value;
        std::ifstream(path_) >> value;
        return value;
    }

    std::string path_;
    bool turnedOn_ = false;
    std::string failure_;
};

// A link at `link` to `target`, owned by `owner` as if that user had made it.
inline bool plantLink(const std::string& target, const std::string& link, uid_t owner)
{
    return symlink(target.c_str(), link.c_str()) == 0 && lchown(link.c_str(), owner, owner) == 0;
}

// A folder as /tmp is: anyone may make files in it, sticky, and of a user who is neither the test's
// nor the one who plants files there.
inline bool makeSharedStickyFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0777) == 0 && chown(path.c_str(), 4321, 4321) == 0 && chmod(path.c_str(), 01777) == 0;
}
