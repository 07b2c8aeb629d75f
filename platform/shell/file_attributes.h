#pragma once
// What a file holds besides its bytes: owner, group, mode and extended attributes. The access ACL
// is one of those attributes (system.posix_acl_access), and its mask is what the mode's group
// bits show; user.* attributes are others. A file that takes another's place must take them all.

#include <string>

namespace shell {

// Gives the open file `to` the owner, group, mode and extended attributes of the file at `from`,
// and drops any attribute it holds that `from` lacks (the ACL a new file takes from its folder).
// False when one of them cannot be read or given: the new file would not be what the old one was.
bool copyFileAttributes(const std::string& from, int to);

}  // namespace shell
