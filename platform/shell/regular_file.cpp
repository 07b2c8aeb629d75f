#include "platform/shell/regular_file.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/shell/descriptor.h"

namespace shell {
namespace {

bool plainAndSmallEnough(const struct stat& info, std::size_t maxBytes)
{
    return S_ISREG(info.st_mode) && info.st_size >= 0 && static_cast<std::size_t>(info.st_size) <= maxBytes;
}

}  // namespace

FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    // Looked at before opening, so that no device is ever opened.
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !plainAndSmallEnough(info, maxBytes))
        return FileRead::refused;
    // Non-blocking in case a FIFO took the file's place since.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 || fstat(file.get(), &info) != 0 || !plainAndSmallEnough(info, maxBytes))
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

}  // namespace shell
