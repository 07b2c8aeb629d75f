#include "platform/shell/in_place_write.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/shell/save_hooks.h"

namespace shell {
namespace {

bool writeAllAt(int descriptor, std::string_view bytes, off_t at)
{
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

// Blank lines over the bytes [from, to) of the file. Each byte is the one its offset gives in the
// repeated blank line, so a two-byte line end stays aligned with the file's own UTF-16 units.
std::string blankBytes(std::string_view blankLine, std::size_t from, std::size_t to)
{
    std::string bytes;
    for (std::size_t at = from; at < to; ++at)
        bytes += blankLine[at % blankLine.size()];
    return bytes;
}

bool syncedWriteAt(int descriptor, std::string_view bytes, off_t at)
{
    return writeAllAt(descriptor, bytes, at) && fsync(descriptor) == 0;
}

// A file system that cannot change a size (FAT through FUSE refuses growth by ftruncate, even to
// the size the file has) is not asked for the size the file already has.
bool cutTo(int descriptor, off_t size)
{
    struct stat info {};
    return (fstat(descriptor, &info) == 0 && info.st_size == size) || ftruncate(descriptor, size) == 0;
}

}  // namespace

bool overwriteInPlace(int descriptor, std::string_view bytes, std::string_view blankLine)
{
    struct stat info {};
    if (blankLine.empty() || fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const auto oldSize = static_cast<std::size_t>(info.st_size);
    // Whole blank lines up to the old end at least, so none of the old content shows after the new.
    const std::size_t oldEnd = (oldSize + blankLine.size() - 1) / blankLine.size() * blankLine.size();
    const std::size_t paddedSize = std::max(bytes.size(), oldEnd);
    std::string old;
    const bool restorable = readAll(descriptor, info.st_size, old);
    if (paddedSize > oldSize) {
        // The room first, without a change the file shows (a plain fallocate would show zeros).
        const int reserved = fallocate(descriptor, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(paddedSize));
        if (reserved != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
            return false;
        if (!syncedWriteAt(descriptor, blankBytes(blankLine, oldSize, paddedSize), info.st_size)) {
            cutTo(descriptor, info.st_size);
            return false;
        }
        reportSaveStep(SaveStep::grown);
    }
    std::string padded(bytes);
    padded += blankBytes(blankLine, bytes.size(), paddedSize);
    if (syncedWriteAt(descriptor, padded, 0)) {
        reportSaveStep(SaveStep::placed);
        if (cutTo(descriptor, static_cast<off_t>(bytes.size())) && fsync(descriptor) == 0) {
            reportSaveStep(SaveStep::cut);
            return true;
        }
    }
    if (restorable && writeAllAt(descriptor, old, 0) && cutTo(descriptor, info.st_size))
        fsync(descriptor);
    return false;
}

}  // namespace shell
