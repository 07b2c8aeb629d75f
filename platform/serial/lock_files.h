#pragma once
// Ports that other programs hold by the old convention of lock files: "LCK.." and the device's
// name, in the system's lock folders, holding the holder's process number (as ten padded ASCII
// characters, or as a binary int in very old ones). Only looks: no lock file is ever made, changed
// or removed here.

#include <string>
#include <string_view>
#include <vector>

namespace serial {

// True when a lock file for the device names a live process other than this one. A lock file
// that cannot be read, or does not name a process, counts as held too: its owner may still be
// at work, and taking the port from it would do harm that a refused port does not.
bool heldByLockFile(std::string_view devicePath);

// Tests: the folders looked in instead of /run/lock and /var/lock; an empty list restores those.
void setLockFolders(std::vector<std::string> folders);

}  // namespace serial
