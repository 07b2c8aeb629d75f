#include "platform/serial/open_elsewhere.h"

#include <algorithm>
#include <cctype>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace serial {
namespace {

bool isNumber(const char* name)
{
    if (*name == '\0')
        return false;
    for (; *name != '\0'; ++name)
        if (!std::isdigit(static_cast<unsigned char>(*name)))
            return false;
    return true;
}

// The character devices behind one process's descriptors. A process that has ended meanwhile, or
// whose descriptors the user may not read, adds nothing.
void addOpenDevices(int procFolder, const char* pid, std::vector<dev_t>& devices)
{
    const int fdFolder = openat(procFolder, (std::string(pid) + "/fd").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdFolder < 0)
        return;
    DIR* descriptors = fdopendir(fdFolder);
    if (!descriptors) {
        ::close(fdFolder);
        return;
    }
    while (const dirent* entry = readdir(descriptors)) {
        if (!isNumber(entry->d_name))  // "." and ".."
            continue;
        // Follows the descriptor's link to what it has open; cached attributes do, so a file on
        // a network mount that stopped answering cannot stall the look.
        struct statx target{};
        if (statx(fdFolder, entry->d_name, AT_STATX_DONT_SYNC, STATX_TYPE, &target) == 0 && S_ISCHR(target.stx_mode))
            devices.push_back(makedev(target.stx_rdev_major, target.stx_rdev_minor));
    }
    closedir(descriptors);
}

}  // namespace

DevicesOpenElsewhere DevicesOpenElsewhere::look()
{
    DevicesOpenElsewhere found;
    DIR* proc = opendir("/proc");
    if (!proc)
        return found;
    const std::string self = std::to_string(getpid());
    while (const dirent* entry = readdir(proc))
        if (isNumber(entry->d_name) && entry->d_name != self)
            addOpenDevices(dirfd(proc), entry->d_name, found.devices_);
    closedir(proc);
    std::sort(found.devices_.begin(), found.devices_.end());
    found.devices_.erase(std::unique(found.devices_.begin(), found.devices_.end()), found.devices_.end());
    return found;
}

bool DevicesOpenElsewhere::includes(std::string_view path) const
{
    struct stat device{};
    return stat(std::string(path).c_str(), &device) == 0 && S_ISCHR(device.st_mode)
           && std::binary_search(devices_.begin(), devices_.end(), device.st_rdev);
}

}  // namespace serial
