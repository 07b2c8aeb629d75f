#pragma once
// Where a save may go: the default folder of parameter files is made when a save or a file dialog
// needs it, and a file that exists is replaced only after the user agreed.

#include <string>

// Makes the folder when it is the default folder (defaultFilePath) and is missing. Any other
// folder is the user's to make: a missing one stays missing and the save fails.
void makeDefaultFolderIfMissing(const std::string& folder);

// True when no file stands at the path or the user agreed to replace it. A folder in the way is
// left to the write, which reports it.
bool replacingAllowed(const std::string& path);
