#include "platform/shell/temporary_file.h"

#include <cerrno>
#include <random>

#include <fcntl.h>
#include <unistd.h>

#include "platform/files/regular_file.h"
#include "platform/shell/save_hooks.h"

namespace shell {
namespace {

// A short name of its own (any name the folder takes leaves room for it).
std::string randomHiddenName()
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    std::string name = ".paramora-";
    for (int i = 0; i < 6; ++i)
        name += letters[pick(random)];
    return hiddenNameForSave(name);
}

// Through /proc, as any user may; without /proc, through the descriptor itself, which needs
// privilege.
bool linkDescriptor(int descriptor, int folder, const std::string& name)
{
    const std::string self = files::pathOfDescriptor(descriptor);
    if (linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    return errno == ENOENT && linkat(descriptor, "", folder, name.c_str(), AT_EMPTY_PATH) == 0;
}

}  // namespace

// The mode goes through the umask in the kernel, so the process-wide umask is never changed while
// other threads may create files.
bool TemporaryFile::createUnnamed(int folder, mode_t mode)
{
    close();
    folder_ = folder;
    if (unnamedFilesAllowed())
        descriptor_ = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    return descriptor_ >= 0;
}

bool TemporaryFile::createNamed(int folder, mode_t mode)
{
    close();
    folder_ = folder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = randomHiddenName();
        descriptor_ = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
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

bool TemporaryFile::linkAs(const std::string& name)
{
    return descriptor_ >= 0 && name_.empty() && linkDescriptor(descriptor_, folder_, name);
}

std::string TemporaryFile::hiddenName()
{
    for (int attempt = 0; name_.empty() && descriptor_ >= 0 && attempt < 100; ++attempt) {
        const std::string name = randomHiddenName();
        if (linkDescriptor(descriptor_, folder_, name))
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
        unlinkat(folder_, name_.c_str(), 0);
    descriptor_ = -1;
    name_.clear();
    return ok;
}

}  // namespace shell
