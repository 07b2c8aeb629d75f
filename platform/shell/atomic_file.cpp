#include "platform/shell/atomic_file.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/stat.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/shell/file_attributes.h"
#include "platform/shell/in_place_write.h"
#include "platform/shell/save_hooks.h"
#include "platform/shell/write_all.h"

namespace shell {
namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a chain of links ends, whether or not a file stands there yet, so that the link survives
// and a dangling one is written through as any editor does. Empty for a loop.
std::string resolvedTarget(const std::string& path)
{
    std::string target = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return target;
        char pointsTo[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), pointsTo, sizeof pointsTo);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof pointsTo)
            return {};
        const std::string next(pointsTo, static_cast<std::size_t>(length));
        target = next.front() == '/' ? next : folderOf(target) + "/" + next;
    }
    return {};
}

// A rename out of an append-only or immutable folder is refused, and so is the removal of the
// temporary file afterwards: such a folder would keep one for good.
bool folderKeepsEveryName(const std::string& folder)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return false;
    int flags = 0;
    const bool kept = ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0;
    ::close(descriptor);
    return kept;
}

// A rename onto a mount point is sure to fail (a file bind-mounted over the target).
bool isMountPoint(const std::string& path, const struct stat& info)
{
    struct statx extra {};
    if (statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS, &extra) == 0 &&
        (extra.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0)
        return (extra.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    struct stat folder {};
    return stat(folderOf(path).c_str(), &folder) == 0 && folder.st_dev != info.st_dev;
}

}  // namespace

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open(const std::string& path, std::string_view blankLine)
{
    discard();
    target_ = resolvedTarget(path);
    if (target_.empty() || blankLine.empty())
        return false;
    blankLine_ = blankLine;
    struct stat existing {};
    targetExists_ = stat(target_.c_str(), &existing) == 0;
    // A rename ignores the target's permissions and kind: a file the user may not write (root may
    // write any), a folder, a device or a pipe is refused here as a plain open would refuse it.
    if (targetExists_ &&
        (!S_ISREG(existing.st_mode) || faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0))
        return false;
    // In place where a rename would leave the file's other names with the old content, where the
    // folder would keep the temporary file, or where the rename is sure to fail.
    const bool inPlaceOnly = targetExists_ && (existing.st_nlink > 1 || folderKeepsEveryName(folderOf(target_)) ||
                                               isMountPoint(target_, existing));
    // Private until the commit gives it the target's owner and mode; a new file gets what any new
    // file of the user gets. A file system without unnamed files gets the named one only at the
    // commit, where the folder takes new files.
    mode_ = targetExists_ ? 0600 : 0666;
    const std::string folder = folderOf(target_);
    if (!inPlaceOnly && (temporary_.createUnnamed(folder, mode_) ||
                         faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0))
        way_ = Way::temporary;
    else if (targetExists_)
        way_ = Way::inPlace;
    return isOpen();
}

bool AtomicFile::write(std::string_view bytes)
{
    if (way_ == Way::temporary && temporary_.descriptor() >= 0 && !writeAll(temporary_.descriptor(), bytes)) {
        discard();
        return false;
    }
    if (way_ == Way::none)
        return false;
    content_.append(bytes);
    return true;
}

bool AtomicFile::commit()
{
    const Way way = way_;
    way_ = Way::none;
    bool ok = false;
    if (way == Way::temporary)
        ok = commitTemporary();
    else if (way == Way::inPlace)
        ok = commitInPlace();
    discard();
    return ok;
}

// Falls back to writing in place where the temporary file cannot take the target's place as the
// target was: no temporary file, an attribute it cannot be given, a rename the system refuses.
bool AtomicFile::commitTemporary()
{
    if (temporary_.descriptor() < 0) {
        // Named only now, so that a kill leaves the name behind for as short a time as it can.
        if (!temporary_.createNamed(folderOf(target_), mode_))
            return targetExists_ && commitInPlace();
        if (!writeAll(temporary_.descriptor(), content_))
            return false;
    }
    const int descriptor = temporary_.descriptor();
    if (fsync(descriptor) != 0)
        return false;
    if (targetExists_ && !copyFileAttributes(target_, descriptor)) {
        temporary_.remove();
        return commitInPlace();
    }
    reportSaveStep(SaveStep::temporaryWritten);
    if (!replaceTarget()) {
        temporary_.remove();
        return targetExists_ && commitInPlace();
    }
    // Make the new name durable; a failure here no longer endangers either file.
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        ::close(folder);
    }
    reportSaveStep(SaveStep::replaced);
    return true;
}

// A new file takes its name at once and is never seen under another. One that replaces a file
// gets a hidden name just before the rename; a rename the system refuses (a bind-mounted target)
// takes the hidden name away again.
bool AtomicFile::replaceTarget()
{
    if (!targetExists_ && temporary_.linkAs(target_))
        return temporary_.close();
    const std::string name = temporary_.hiddenName();
    if (name.empty() || renameForSave(name.c_str(), target_.c_str()) != 0)
        return false;
    temporary_.release();
    temporary_.close();
    return true;
}

bool AtomicFile::commitInPlace()
{
    // Read access too where the user has it, so a write that fails halfway can put the old bytes
    // back. O_NONBLOCK: a pipe swapped in since the check must not hang the open.
    constexpr int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int descriptor = ::open(target_.c_str(), O_RDWR | flags);
    if (descriptor < 0)
        descriptor = ::open(target_.c_str(), O_WRONLY | flags);
    if (descriptor < 0)
        return false;
    bool ok = overwriteInPlace(descriptor, content_, blankLine_);
    ok = ::close(descriptor) == 0 && ok;
    return ok;
}

void AtomicFile::discard()
{
    temporary_.remove();
    way_ = Way::none;
    content_.clear();
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string_view blankLine)
{
    AtomicFile file;
    return file.open(path, blankLine) && file.write(bytes) && file.commit();
}

}  // namespace shell
