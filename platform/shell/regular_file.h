#pragma once
// Reading a whole file that the user may have pointed anywhere: only a plain file of bounded size
// is read. A FIFO would block until some writer comes, a device may never end (/dev/zero) or
// change its state when opened (a serial port), a folder holds no bytes.

#include <cstddef>
#include <string>

namespace shell {

enum class FileRead {
    done,
    refused,  // missing, not permitted, not a plain file, or larger than allowed: never opened or read
    failed,   // opened, but a read failed
};

// Puts the file's bytes in `bytes`. Never blocks and never opens anything but a plain file.
FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace shell
