#include "platform/shell/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {
namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A link is replaced where it points, so that the link itself survives.
std::string resolvedTarget(const std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

mode_t modeForNewFile()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open(const std::string& path)
{
    discard();
    failed_ = false;
    if (path.empty())
        return false;
    target_ = resolvedTarget(path);
    struct stat existing {};
    const bool exists = stat(target_.c_str(), &existing) == 0;
    // A rename ignores the target's permissions and kind: a file the user may not write (root may
    // write any), a folder, a device or a pipe is refused here as a plain open would refuse it.
    if (exists && (!S_ISREG(existing.st_mode) || faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0))
        return false;
    // A short name of its own, so that any name the folder takes leaves room for the temporary one.
    temporary_ = folderOf(target_) + "/.paramora-XXXXXX";
    descriptor_ = mkostemp(temporary_.data(), O_CLOEXEC);
    if (descriptor_ < 0)
        return false;
    // mkostemp makes the file private; the result should look like any file the user saves.
    fchmod(descriptor_, exists ? (existing.st_mode & 07777) : modeForNewFile());
    return true;
}

bool AtomicFile::write(std::string_view bytes)
{
    if (descriptor_ < 0 || failed_)
        return false;
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            failed_ = true;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool AtomicFile::commit()
{
    if (descriptor_ < 0)
        return false;
    bool ok = !failed_ && fsync(descriptor_) == 0;
    ok = ::close(descriptor_) == 0 && ok;
    descriptor_ = -1;
    ok = ok && std::rename(temporary_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        unlink(temporary_.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here no longer endangers either file.
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        ::close(folder);
    }
    return true;
}

void AtomicFile::discard()
{
    if (descriptor_ < 0)
        return;
    ::close(descriptor_);
    descriptor_ = -1;
    unlink(temporary_.c_str());
}

bool writeFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicFile file;
    return file.open(path) && file.write(bytes) && file.commit();
}

}  // namespace shell
