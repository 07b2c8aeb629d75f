#include "platform/serial/open_elsewhere.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace serial {
namespace {

// The multiplexer every pseudo-terminal's master is opened through (/dev/ptmx, /dev/pts/ptmx).
const dev_t terminalMultiplexer = makedev(5, 2);

bool isNumber(const char* name)
{
    if (*name == '\0')
        return false;
    for (; *name != '\0'; ++name)
        if (!std::isdigit(static_cast<unsigned char>(*name)))
            return false;
    return true;
}

// The number of the pseudo-terminal whose slave `device` is (/dev/pts/<number>), or -1.
long terminalNumber(dev_t device)
{
    const unsigned kind = major(device);
    if (kind < 136 || kind > 143)
        return -1;
    return static_cast<long>(kind - 136) * 256 + static_cast<long>(minor(device));
}

// The number of the pseudo-terminal whose master the descriptor is, as the kernel shows it in the
// descriptor's fdinfo ("tty-index:"); -1 when that cannot be read.
long providedTerminal(int fdInfoFolder, const char* descriptor)
{
    const int info = openat(fdInfoFolder, descriptor, O_RDONLY | O_CLOEXEC);
    if (info < 0)
        return -1;
    char text[512];
    const ssize_t got = ::read(info, text, sizeof text - 1);
    ::close(info);
    if (got <= 0)
        return -1;
    text[got] = '\0';
    const char* field = std::strstr(text, "tty-index:");
    if (!field)
        return -1;
    char* end = nullptr;
    const long number = std::strtol(field + std::strlen("tty-index:"), &end, 10);
    return end != field + std::strlen("tty-index:") && number >= 0 ? number : -1;
}

// The character devices one process has open and holds. A process that holds a pseudo-terminal's
// master provides that terminal (socat, a device simulator): its own open of the slave is part of
// providing it, not a use. A process that has ended meanwhile, or whose descriptors the user may
// not read, adds nothing.
void addHeldDevices(int procFolder, const char* pid, std::vector<dev_t>& devices)
{
    const std::string folder(pid);
    const int fdFolder = openat(procFolder, (folder + "/fd").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdFolder < 0)
        return;
    DIR* descriptors = fdopendir(fdFolder);
    if (!descriptors) {
        ::close(fdFolder);
        return;
    }
    std::vector<dev_t> opened;
    std::vector<long> provided;
    int fdInfoFolder = -1;
    while (const dirent* entry = readdir(descriptors)) {
        if (!isNumber(entry->d_name))  // "." and ".."
            continue;
        // Follows the descriptor's link to what it has open; cached attributes do, so a file on
        // a network mount that stopped answering cannot stall the look.
        struct statx target{};
        if (statx(fdFolder, entry->d_name, AT_STATX_DONT_SYNC, STATX_TYPE, &target) != 0 || !S_ISCHR(target.stx_mode))
            continue;
        const dev_t device = makedev(target.stx_rdev_major, target.stx_rdev_minor);
        if (device != terminalMultiplexer) {
            opened.push_back(device);
            continue;
        }
        if (fdInfoFolder < 0)
            fdInfoFolder = openat(procFolder, (folder + "/fdinfo").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        // Unread, the slave's open counts as held: a port is rather left out than taken in use.
        const long number = fdInfoFolder >= 0 ? providedTerminal(fdInfoFolder, entry->d_name) : -1;
        if (number >= 0)
            provided.push_back(number);
    }
    if (fdInfoFolder >= 0)
        ::close(fdInfoFolder);
    closedir(descriptors);
    for (dev_t device : opened) {
        const long number = terminalNumber(device);
        if (number < 0 || std::find(provided.begin(), provided.end(), number) == provided.end())
            devices.push_back(device);
    }
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
            addHeldDevices(dirfd(proc), entry->d_name, found.devices_);
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
