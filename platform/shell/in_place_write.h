#pragma once
// Rewriting a file through its own descriptor, for where no new file may take its place: the
// file keeps its owner, mode, attributes and every hard link.

#include <string_view>

namespace shell {

// Puts `bytes` in the file from its start and cuts it to their length, syncing after each step.
// Each step leaves a file that reads as the old content or as the new one, because the readers of
// its format skip `blankLine` (an empty line) wherever it stands after the last line:
//   longer content: the file first grows by blank lines (the old content still reads the same),
//   then the new content, padded with blank lines to at least the old length, is written over it,
//   then the file is cut to the new length.
// Room for growth is taken before any byte changes, so a full disk fails with the file as it was;
// a write that fails later puts the old bytes back where the descriptor lets them be read. A file
// the user may write but not read cannot get them back. False on any failure.
bool overwriteInPlace(int descriptor, std::string_view bytes, std::string_view blankLine);

}  // namespace shell
