#pragma once
// What a file holds besides its bytes: owner, group, mode, access ACL and extended attributes.
// The ACL's mask is what the mode's group bits show; user.* attributes are others. A file that
// takes another's place must take them all.

#include <string>

namespace shell {

// Gives the open file `to` the owner, group, mode, access ACL and extended attributes of the file
// `name` in the open folder `folder` (those /etc/xattr.conf does not exclude), replacing the ACL a new file takes from its
// folder. What `to` already holds as it should is not set again: a file system that stores no
// owner or mode (FAT) refuses even a change to the value it shows. False when something differs
// and cannot be read or given: the new file would not be what the old one was.
bool copyFileAttributes(int folder, const std::string& name, int to);

}  // namespace shell
