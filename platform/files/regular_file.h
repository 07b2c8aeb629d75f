#pragma once
// Opening a file whose name the user gave or another user may have planted (the settings, the
// log, parameter and CSV files, the help file, lock files). The kernel resolves the name, so every
// protection it applies to links, pipes and files in shared folders applies here as to any
// program. Only a plain file is opened: a FIFO would block until some writer or reader comes, a
// device may never end (/dev/zero) or change its state when opened (a serial port), a folder
// holds no bytes.

#include <cstddef>
#include <string>

#include <sys/types.h>

namespace files {

// The file at `path` opened with `flags` (O_RDONLY, O_WRONLY or O_RDWR, with O_APPEND, O_CREAT,
// O_TRUNC as wanted), never blocking and never becoming the controlling terminal. -1 when it is
// missing, refused, or not a plain file (errno EISDIR for a folder, ENXIO for anything else). An
// existing file is looked at before it is opened, so no device is opened; O_CREAT makes a missing
// file with `mode`, through a link of the user's own too, and refuses what the kernel refuses in a
// shared sticky folder (another user's file or FIFO).
int openRegularFile(const std::string& path, int flags, mode_t mode = 0666);

// A path that names the open file itself, whatever became of the name it was opened by: for
// libraries that take a name, once the file has been checked.
std::string pathOfDescriptor(int descriptor);

enum class FileRead {
    done,
    refused,  // missing, not permitted, not a plain file, or larger than allowed: never opened or read
    failed,   // opened, but a read failed
};

// Puts the file's bytes in `bytes`. Never blocks and never opens anything but a plain file.
FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace files
