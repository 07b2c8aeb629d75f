#pragma once
// Whether the file system of a folder makes unnamed files (O_TMPFILE): where it does not (an older
// overlay file system, NFS), a save's temporary file has a name from the start.

#include <string>

#include <fcntl.h>
#include <unistd.h>

inline bool unnamedFilesSupported(const std::string& folder)
{
    const int descriptor = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return false;
    ::close(descriptor);
    return true;
}
