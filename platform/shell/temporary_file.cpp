#include "platform/shell/temporary_file.h"

#include <cerrno>
#include <random>

#include <fcntl.h>
#include <unistd.h>

#include "platform/shell/save_hooks.h"

namespace shell {
namespace {

// A short name of its own (any name the folder takes leaves room for it).
std::string randomHiddenName(const std::string& folder)
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    std::string name = folder + "/.paramora-";
    for (int i = 0; i < 6; ++i)
        name += letters[pick(random)];
    return name;
}

// Through /proc, as any user may; without /proc, through the descriptor itself, which needs
// privilege.
bool linkDescriptor(int descriptor, const std::string& path)
{
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    return errno == ENOENT && linkat(descriptor, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0;
}

}  // namespace

// The mode goes through the umask in the kernel, so the process-wide umask is never changed while
// other threads may create files.
bool TemporaryFile::createUnnamed(const std::string& folder, mode_t mode)
{
    close();
    folder_ = folder;
    if (unnamedFilesAllowed())
        descriptor_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    return descriptor_ >= 0;
}

bool TemporaryFile::createNamed(const std::string& folder, mode_t mode)
{
    close();
    folder_ = folder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = randomHiddenName(folder);
        descriptor_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (descriptor_ >= 0) {
            name_ = name;
            reportSaveStep(SaveStep::temporaryNamed);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool TemporaryFile::linkAs(const std::string& path)
{
    return descriptor_ >= 0 && name_.empty() && linkDescriptor(descriptor_, path);
}

std::string TemporaryFile::hiddenName()
{
    for (int attempt = 0; name_.empty() && descriptor_ >= 0 && attempt < 100; ++attempt) {
        const std::string name = randomHiddenName(folder_);
        if (linkDescriptor(descriptor_, name))
            name_ = name;
        else if (errno != EEXIST)
            break;
    }
    return name_;
}

void TemporaryFile::release() { name_.clear(); }

bool TemporaryFile::close()
{
    bool ok = true;
    if (descriptor_ >= 0)
        ok = ::close(descriptor_) == 0;
    if (!name_.empty())
        unlink(name_.c_str());
    descriptor_ = -1;
    name_.clear();
    return ok;
}

}  // namespace shell
