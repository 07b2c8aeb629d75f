#include "platform/shell/in_place_write.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {
namespace {

bool writeAllAt(int descriptor, std::string_view bytes)
{
    off_t at = 0;
    while (!bytes.empty()) {
        const ssize_t written = pwrite(descriptor, bytes.data(), bytes.size(), at);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
        at += written;
    }
    return true;
}

// The file's bytes; false when the descriptor was opened for writing only or a read fails.
bool readAll(int descriptor, off_t size, std::string& bytes)
{
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = pread(descriptor, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

bool overwriteInPlace(int descriptor, std::string_view bytes)
{
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const off_t oldSize = info.st_size;
    const auto newSize = static_cast<off_t>(bytes.size());
    if (newSize > oldSize && posix_fallocate(descriptor, oldSize, newSize - oldSize) != 0) {
        ftruncate(descriptor, oldSize);  // whatever the reservation added
        return false;
    }
    std::string old;
    const bool restorable = readAll(descriptor, oldSize, old);
    if (writeAllAt(descriptor, bytes) && ftruncate(descriptor, newSize) == 0 && fsync(descriptor) == 0)
        return true;
    if (restorable && writeAllAt(descriptor, old) && ftruncate(descriptor, oldSize) == 0)
        fsync(descriptor);
    return false;
}

}  // namespace shell
