#pragma once
// Where a save may go: a file that exists is replaced only after the user agreed.

#include <string>

// True when no file stands at the path or the user agreed to replace it. A folder in the way is
// left to the write, which reports it.
bool replacingAllowed(const std::string& path);
