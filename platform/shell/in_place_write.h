#pragma once
// Rewriting a file through its own descriptor, for where no new file may take its place: the
// file keeps its owner, mode and every hard link.

#include <string_view>

namespace shell {

// Puts `bytes` in the file from its start and cuts it to their length, then syncs it. Room for any
// growth is taken first, so a full disk fails before a byte changes; a write that fails after that
// puts the old bytes back where the descriptor lets them be read. False on any failure.
bool overwriteInPlace(int descriptor, std::string_view bytes);

}  // namespace shell
