#include "platform/files/regular_file.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/descriptor.h"

namespace files {
namespace {

constexpr int neverWaits = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool plainFile(int descriptor)
{
    struct stat info {};
    if (fstat(descriptor, &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : ENXIO;
        return false;
    }
    return true;
}

// Closes a descriptor that is not a plain file's.
int keptIfPlain(int descriptor)
{
    if (descriptor >= 0 && !plainFile(descriptor)) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
        return -1;
    }
    return descriptor;
}

bool plainAndSmallEnough(int descriptor, std::size_t maxBytes, struct stat& info)
{
    return fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
           static_cast<std::size_t>(info.st_size) <= maxBytes;
}

}  // namespace

std::string pathOfDescriptor(int descriptor) { return "/proc/self/fd/" + std::to_string(descriptor); }

int openRegularFile(const std::string& path, int flags, mode_t mode)
{
    if (path.empty()) {
        errno = ENOENT;
        return -1;
    }
    // O_PATH finds the file without opening it (no device's open runs).
    const Descriptor found(::open(path.c_str(), O_PATH | O_CLOEXEC));
    if (found.get() < 0 && (errno != ENOENT || (flags & O_CREAT) == 0))
        return -1;
    if (found.get() >= 0 && !plainFile(found.get()))
        return -1;
    if (found.get() >= 0 && (flags & O_CREAT) == 0) {
        // Opened through that descriptor, so what was looked at is what is opened.
        const int descriptor = ::open(pathOfDescriptor(found.get()).c_str(), flags | neverWaits);
        if (descriptor >= 0 || errno != ENOENT)
            return keptIfPlain(descriptor);
        // no /proc: by name, below
    }
    // By name where it may be made, so that the kernel refuses another user's file or FIFO in a
    // shared sticky folder (fs.protected_regular, fs.protected_fifos) as it would to anyone.
    return keptIfPlain(::open(path.c_str(), flags | neverWaits, mode));
}

FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    const Descriptor file(openRegularFile(path, O_RDONLY));
    struct stat info {};
    if (file.get() < 0 || !plainAndSmallEnough(file.get(), maxBytes, info))
        return FileRead::refused;
    // The size can change while it is read (files of /proc say 0): at most one byte more than
    // allowed is taken, which tells a file that grew too large.
    const std::size_t limit = maxBytes + 1;
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total == limit)
                break;
            bytes.resize(std::min(std::max<std::size_t>(total * 2, 4096), limit));
        }
        const ssize_t n = ::read(file.get(), bytes.data() + total, bytes.size() - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            bytes.clear();
            return FileRead::failed;
        }
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    if (total > maxBytes) {
        bytes.clear();
        return FileRead::refused;
    }
    bytes.resize(total);
    return FileRead::done;
}

}  // namespace files
