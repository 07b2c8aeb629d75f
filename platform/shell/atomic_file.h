#pragma once
// Replacing a file without ever leaving it half written: the bytes go to a temporary file in the
// target's folder, private to the user until it takes the target's owner, group, mode, ACL and
// extended attributes, and renamed over the target only once every byte was written and synced.
// Where a rename would not leave the file as the user had it (more than one hard link, an
// attribute the new file cannot be given, a folder that takes no new file or refuses the rename,
// a target that is a mount point), the target is written in place instead, in steps that each
// leave the old or the new content (in_place_write.h). A link the kernel follows is written
// through: the file it points to is replaced, or made (save_target.h).

#include <string>
#include <string_view>

#include "platform/shell/save_target.h"
#include "platform/shell/temporary_file.h"

namespace shell {

// A line end every reader of the file's format skips as an empty line; an in-place write pads
// with it. One LF suits the settings-style text files.
inline constexpr std::string_view lfBlankLine = "\n";

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // an uncommitted file is discarded, the target stays as it was
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Starts the file; false when the target's folder does not take one (and no target stands
    // there to be written in place), or the target exists and is not a regular file the user may
    // write. `blankLine` is what the format's readers skip (lfBlankLine, or a UTF-16 line end).
    bool open(const std::string& path, std::string_view blankLine = lfBlankLine);
    bool isOpen() const { return way_ != Way::none; }
    // A failed write discards the file at once, so no temporary file outlives the failure.
    bool write(std::string_view bytes);
    // Puts the written bytes in place of the target. False (after any failed write too) leaves the
    // target as it was.
    bool commit();
    void discard();

private:
    enum class Way { none, temporary, inPlace };
    bool commitTemporary();
    bool replaceTarget();
    bool commitInPlace();

    Way way_ = Way::none;
    mode_t mode_ = 0666;  // of the temporary file as made
    SaveTarget target_;
    TemporaryFile temporary_;  // after target_: it lives in target_'s open folder
    std::string blankLine_;
    std::string content_;  // the whole new content, for a write in place
};

// The whole file in one call: open, write, commit.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string_view blankLine = lfBlankLine);

}  // namespace shell
