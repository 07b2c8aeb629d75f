#pragma once
// A new file made in a folder to take another file's place there. It has no name (O_TMPFILE)
// where the file system allows, so a save killed before it ends leaves nothing behind; it gets one
// only just before it replaces the target. Elsewhere it goes by a hidden name of its own, given
// as late as the save allows.

#include <string>

#include <sys/types.h>

namespace shell {

class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() { remove(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // In the open folder `folder`, which must stay open while this file is. `mode` goes through the
    // umask and the folder's default ACL, as for any new file of the user. False where the file
    // system makes no unnamed files.
    bool createUnnamed(int folder, mode_t mode);
    // Under a hidden name, from the first byte.
    bool createNamed(int folder, mode_t mode);
    int descriptor() const { return descriptor_; }
    // Gives the unnamed file the name `name` in its folder, where nothing stands yet; false
    // otherwise.
    bool linkAs(const std::string& name);
    // The hidden name in its folder, given now if it had none; empty when none can be given.
    std::string hiddenName();
    // Once the hidden name has been renamed away, the file is no longer this object's to remove.
    void release();
    // Closes it; closing a file not yet released removes its hidden name. False when the close
    // reports an error.
    bool close();
    void remove() { close(); }

private:
    int descriptor_ = -1;
    int folder_ = -1;
    std::string name_;  // empty while unnamed
};

}  // namespace shell
