#pragma once
// Where a save puts its bytes, as the kernel resolves the name the user gave: the folder that
// holds the file (or will hold it) and the file's own name there. No link is walked here: the
// kernel follows a link or refuses it (another user's link in a shared sticky folder, as /tmp is)
// exactly as it would for any program, and every later step works in the folder found, so the
// name cannot be turned elsewhere in between.

#include <string>

#include <sys/stat.h>

#include "platform/files/descriptor.h"

namespace shell {

class SaveTarget {
public:
    // False when nothing can be saved there: a link the kernel refuses, a missing folder, a name
    // that is not a plain file. A dangling link has the file it points to made, empty, by the
    // kernel, as a shell's redirection would make it.
    bool find(const std::string& path);
    int folder() const { return folder_.get(); }
    const std::string& name() const { return name_; }
    bool exists() const { return exists_; }
    const struct stat& info() const { return info_; }
    // Takes away the file find() made, where no save filled it; once saved, it is the user's.
    void removeMadeFile();
    void keepMadeFile() { made_ = false; }

private:
    bool locate(int file, const std::string& path);

    files::Descriptor folder_;
    std::string name_;
    bool exists_ = false;
    bool made_ = false;
    struct stat info_ {};
};

// The folder part of a path ("." for a bare name) and the last part.
std::string folderOf(const std::string& path);
std::string lastPartOf(const std::string& path);

}  // namespace shell
