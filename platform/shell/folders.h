#pragma once
// The folders the program asks the desktop about. Paths use "/" and folders end in "/".

#include <string>

namespace shell {

// The user's Documents folder with its closing "/"; empty when the desktop names none.
std::string documentsFolder();

// True when the path names a folder whose listing can be started.
bool folderExists(const std::string& path);

// Makes the folder and any missing folder above it (with the user's usual permissions); true when
// it exists afterwards.
bool makeFolder(const std::string& path);

}  // namespace shell
