#pragma once
// Replacing a file without ever leaving it half written: the bytes go to a temporary file in the
// target's folder, which is renamed over the target only once every byte was written and synced.

#include <string>
#include <string_view>

namespace shell {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // an uncommitted file is discarded, the target stays as it was
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Starts the temporary file; false when the target's folder does not take one, or the target
    // exists and is not a regular file the user may write.
    bool open(const std::string& path);
    bool isOpen() const { return descriptor_ >= 0; }
    bool write(std::string_view bytes);
    // Puts the written bytes in place of the target. False (after any failed write too) leaves the
    // target untouched.
    bool commit();
    void discard();

private:
    int descriptor_ = -1;
    bool failed_ = false;
    std::string target_;
    std::string temporary_;
};

// The whole file in one call: open, write, commit.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace shell
