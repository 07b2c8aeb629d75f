#pragma once
// Writes every byte to a descriptor, going on after short writes and interrupted calls.

#include <string_view>

namespace shell {

// False when the descriptor refuses a byte (a full disk, a closed pipe).
bool writeAll(int descriptor, std::string_view bytes);

}  // namespace shell
