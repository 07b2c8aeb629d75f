#include "platform/shell/save_target.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <unistd.h>

#include "platform/files/regular_file.h"

namespace shell {
namespace {

// The path the kernel gives the open file; empty without /proc or for a file no longer named.
std::string kernelPathOf(int descriptor)
{
    char path[PATH_MAX];
    const ssize_t length = readlink(files::pathOfDescriptor(descriptor).c_str(), path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path || path[0] != '/')
        return {};
    return std::string(path, static_cast<std::size_t>(length));
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string lastPartOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SaveTarget::find(const std::string& path)
{
    folder_.reset();
    name_.clear();
    exists_ = made_ = false;
    if (path.empty())
        return false;
    const files::Descriptor file(::open(path.c_str(), O_PATH | O_CLOEXEC));
    if (file.get() >= 0)
        return locate(file.get(), path);
    if (errno != ENOENT)
        return false;
    const files::Descriptor itself(::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat link {};
    if (itself.get() >= 0) {
        if (fstat(itself.get(), &link) != 0 || !S_ISLNK(link.st_mode))
            return false;
        // A dangling link: the kernel makes what it points to, or refuses as it refuses anyone.
        const files::Descriptor made(files::openRegularFile(path, O_WRONLY | O_CREAT, 0666));
        if (made.get() < 0)
            return false;
        made_ = true;
        if (locate(made.get(), path))
            return true;
        removeMadeFile();
        return false;
    }
    // A new name in a folder the kernel finds.
    name_ = lastPartOf(path);
    if (name_.empty() || name_ == "." || name_ == "..")
        return false;
    folder_.reset(::open(folderOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return folder_.get() >= 0;
}

bool SaveTarget::locate(int file, const std::string& path)
{
    if (fstat(file, &info_) != 0 || !S_ISREG(info_.st_mode))
        return false;
    exists_ = true;
    std::string real = kernelPathOf(file);
    if (real.empty()) {
        // Without /proc only a name that is itself the file can be placed.
        struct stat own {};
        if (fstatat(AT_FDCWD, path.c_str(), &own, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(own, info_))
            return false;
        real = path;
    }
    name_ = lastPartOf(real);
    folder_.reset(::open(folderOf(real).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    // The file must still stand under that name in that folder.
    struct stat there {};
    return folder_.get() >= 0 && fstatat(folder_.get(), name_.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
           sameFile(there, info_);
}

void SaveTarget::removeMadeFile()
{
    struct stat there {};
    if (made_ && folder_.get() >= 0 && fstatat(folder_.get(), name_.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
        sameFile(there, info_) && there.st_size == 0)
        unlinkat(folder_.get(), name_.c_str(), 0);
    made_ = false;
}

}  // namespace shell
