#include "platform/shell/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/shell/in_place_write.h"

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

// A fresh file of a short name of its own (any name the folder takes leaves room for it), made
// with the mode any file the user saves gets: the kernel applies the umask, so the process-wide
// umask is never changed while other threads may create files.
int createTemporary(const std::string& folder, std::string& name)
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.paramora-";
        for (int i = 0; i < 6; ++i)
            name += letters[pick(random)];
        const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

}  // namespace

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open(const std::string& path)
{
    discard();
    if (path.empty())
        return false;
    target_ = resolvedTarget(path);
    struct stat existing {};
    const bool exists = stat(target_.c_str(), &existing) == 0;
    // A rename ignores the target's permissions and kind: a file the user may not write (root may
    // write any), a folder, a device or a pipe is refused here as a plain open would refuse it.
    if (exists && (!S_ISREG(existing.st_mode) || faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0))
        return false;
    // A rename would leave the file's other names with the old content.
    if (exists && existing.st_nlink > 1)
        return openInPlace();
    if (openTemporary(exists ? &existing : nullptr))
        return true;
    return exists && openInPlace();
}

// False when no temporary file can be made, or it cannot take the target's owner, group and mode.
bool AtomicFile::openTemporary(const struct stat* existing)
{
    descriptor_ = createTemporary(folderOf(target_), temporary_);
    if (descriptor_ < 0)
        return false;
    way_ = Way::temporary;
    if (!existing)
        return true;
    struct stat made {};
    // The owner first: changing it may clear the set-id bits of the mode.
    const bool owned = fstat(descriptor_, &made) == 0 &&
                       ((made.st_uid == existing->st_uid && made.st_gid == existing->st_gid) ||
                        fchown(descriptor_, existing->st_uid, existing->st_gid) == 0);
    if (owned && fchmod(descriptor_, existing->st_mode & 07777) == 0)
        return true;
    discard();
    return false;
}

bool AtomicFile::openInPlace()
{
    // Read access too where the user has it, so a write that fails halfway can put the old bytes
    // back. No O_TRUNC: nothing changes before commit. O_NONBLOCK: a pipe swapped in since the
    // check must not hang the open.
    constexpr int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    descriptor_ = ::open(target_.c_str(), O_RDWR | flags);
    if (descriptor_ < 0)
        descriptor_ = ::open(target_.c_str(), O_WRONLY | flags);
    struct stat info {};
    if (descriptor_ < 0 || fstat(descriptor_, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = -1;
        return false;
    }
    way_ = Way::inPlace;
    return true;
}

bool AtomicFile::write(std::string_view bytes)
{
    if (way_ == Way::inPlace) {
        pending_.append(bytes);
        return true;
    }
    if (way_ != Way::temporary)
        return false;
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            discard();
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool AtomicFile::commit()
{
    if (way_ == Way::temporary)
        return commitTemporary();
    if (way_ != Way::inPlace)
        return false;
    bool ok = overwriteInPlace(descriptor_, pending_);
    ok = ::close(descriptor_) == 0 && ok;
    descriptor_ = -1;
    way_ = Way::none;
    pending_.clear();
    return ok;
}

bool AtomicFile::commitTemporary()
{
    bool ok = fsync(descriptor_) == 0;
    ok = ::close(descriptor_) == 0 && ok;
    descriptor_ = -1;
    way_ = Way::none;
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
    if (descriptor_ >= 0)
        ::close(descriptor_);
    if (way_ == Way::temporary)
        unlink(temporary_.c_str());
    descriptor_ = -1;
    way_ = Way::none;
    pending_.clear();
}

bool writeFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicFile file;
    return file.open(path) && file.write(bytes) && file.commit();
}

}  // namespace shell
