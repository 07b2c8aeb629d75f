#pragma once
// Replacing a file without ever leaving it half written: the bytes go to a temporary file in the
// target's folder, which is renamed over the target only once every byte was written and synced.
// Where a rename would not leave the file as the user had it (a folder that takes no new file,
// more than one hard link, an owner or group the new file cannot be given), the target is written
// in place instead, from bytes held in memory until commit.

#include <string>
#include <string_view>

#include <sys/stat.h>

namespace shell {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // an uncommitted file is discarded, the target stays as it was
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Starts the file; false when the target's folder does not take one (and no target stands
    // there to be written in place), or the target exists and is not a regular file the user may
    // write.
    bool open(const std::string& path);
    bool isOpen() const { return way_ != Way::none; }
    // A failed write discards the file at once, so no temporary file outlives the failure.
    bool write(std::string_view bytes);
    // Puts the written bytes in place of the target. False (after any failed write too) leaves the
    // target as it was.
    bool commit();
    void discard();

private:
    enum class Way { none, temporary, inPlace };
    bool openTemporary(const struct stat* existing);
    bool openInPlace();
    bool commitTemporary();

    Way way_ = Way::none;
    int descriptor_ = -1;
    std::string target_;
    std::string temporary_;
    std::string pending_;  // in place: the whole new content
};

// The whole file in one call: open, write, commit.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace shell
