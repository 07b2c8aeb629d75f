#include "platform/shell/atomic_file.h"

#include <cerrno>

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/stat.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/descriptor.h"
#include "platform/shell/file_attributes.h"
#include "platform/shell/in_place_write.h"
#include "platform/shell/save_hooks.h"
#include "platform/shell/write_all.h"

namespace shell {
namespace {

// A rename out of an append-only or immutable folder is refused, and so is the removal of the
// temporary file afterwards: such a folder would keep one for good.
bool folderKeepsEveryName(int folder)
{
    const files::Descriptor opened(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
    int flags = 0;
    return opened.get() >= 0 && ioctl(opened.get(), FS_IOC_GETFLAGS, &flags) == 0 &&
           (flags & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0;
}

// A rename onto a mount point is sure to fail (a file bind-mounted over the target).
bool isMountPoint(const SaveTarget& target)
{
    struct statx extra {};
    if (statx(target.folder(), target.name().c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS,
              &extra) == 0 &&
        (extra.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0)
        return (extra.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    struct stat folder {};
    return fstat(target.folder(), &folder) == 0 && folder.st_dev != target.info().st_dev;
}

}  // namespace

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open(const std::string& path, std::string_view blankLine)
{
    discard();
    if (blankLine.empty() || !target_.find(path))
        return false;
    blankLine_ = blankLine;
    const int folder = target_.folder();
    const char* name = target_.name().c_str();
    // A rename ignores the target's permissions: a file the user may not write (root may write
    // any) is refused here as a plain open would refuse it.
    if (target_.exists() && faccessat(folder, name, W_OK, AT_EACCESS) != 0) {
        discard();
        return false;
    }
    // In place where a rename would leave the file's other names with the old content, where the
    // folder would keep the temporary file, or where the rename is sure to fail.
    const bool inPlaceOnly =
        target_.exists() && (target_.info().st_nlink > 1 || folderKeepsEveryName(folder) || isMountPoint(target_));
    // Private until the commit gives it the target's owner and mode; a new file gets what any new
    // file of the user gets. A file system without unnamed files gets the named one only at the
    // commit, where the folder takes new files.
    mode_ = target_.exists() ? 0600 : 0666;
    if (!inPlaceOnly &&
        (temporary_.createUnnamed(folder, mode_) || faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) == 0))
        way_ = Way::temporary;
    else if (target_.exists())
        way_ = Way::inPlace;
    if (!isOpen())
        discard();
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
    if (ok)
        target_.keepMadeFile();
    discard();
    return ok;
}

// Falls back to writing in place where the temporary file cannot take the target's place as the
// target was: no temporary file, an attribute it cannot be given, a rename the system refuses.
bool AtomicFile::commitTemporary()
{
    if (temporary_.descriptor() < 0) {
        // Named only now, so that a kill leaves the name behind for as short a time as it can.
        if (!temporary_.createNamed(target_.folder(), mode_))
            return target_.exists() && commitInPlace();
        if (!writeAll(temporary_.descriptor(), content_))
            return false;
    }
    const int descriptor = temporary_.descriptor();
    if (fsync(descriptor) != 0)
        return false;
    if (target_.exists() && !copyFileAttributes(target_.folder(), target_.name(), descriptor)) {
        temporary_.remove();
        return commitInPlace();
    }
    reportSaveStep(SaveStep::temporaryWritten);
    if (!replaceTarget()) {
        temporary_.remove();
        return target_.exists() && commitInPlace();
    }
    // Make the new name durable; a failure here no longer endangers either file.
    const files::Descriptor folder(::openat(target_.folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        fsync(folder.get());
    reportSaveStep(SaveStep::replaced);
    return true;
}

// A new file takes its name at once and is never seen under another. One that replaces a file
// gets a hidden name just before the rename; a rename the system refuses (a bind-mounted target)
// takes the hidden name away again.
bool AtomicFile::replaceTarget()
{
    if (!target_.exists() && temporary_.linkAs(target_.name()))
        return temporary_.close();
    const std::string name = temporary_.hiddenName();
    if (name.empty() || renameForSave(target_.folder(), name.c_str(), target_.name().c_str()) != 0)
        return false;
    temporary_.release();
    temporary_.close();
    return true;
}

bool AtomicFile::commitInPlace()
{
    // Read access too where the user has it, so a write that fails halfway can put the old bytes
    // back. O_NONBLOCK: a pipe swapped in since the check must not hang the open.
    constexpr int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    const int folder = target_.folder();
    const char* name = target_.name().c_str();
    int descriptor = ::openat(folder, name, O_RDWR | flags);
    if (descriptor < 0)
        descriptor = ::openat(folder, name, O_WRONLY | flags);
    if (descriptor < 0)
        return false;
    bool ok = overwriteInPlace(descriptor, content_, blankLine_);
    ok = ::close(descriptor) == 0 && ok;
    return ok;
}

void AtomicFile::discard()
{
    temporary_.remove();
    target_.removeMadeFile();
    way_ = Way::none;
    content_.clear();
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string_view blankLine)
{
    AtomicFile file;
    return file.open(path, blankLine) && file.write(bytes) && file.commit();
}

}  // namespace shell
