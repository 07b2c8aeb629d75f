#pragma once
// What a test looks at besides a file's bytes: its extended attributes, the access ACL among them
// (system.posix_acl_access, whose mask entry the group bits of the mode show).

#include <map>
#include <string>

using ExtendedAttributes = std::map<std::string, std::string>;  // name -> value

// Every attribute the current user may read, not following a link.
ExtendedAttributes extendedAttributes(const std::string& path);

// Each gives the file what it names and returns "", or why it could not (for a skip message): a
// file system without ACLs or user attributes.
std::string setAccessAcl(const std::string& path, const char* aclText);  // "u::rw-,u:1234:rw-,g::r--,m::rw-,o::---"
std::string setDefaultAcl(const std::string& folder, const char* aclText);
std::string setUserAttribute(const std::string& path, const std::string& name, const std::string& value);

// The access ACL in libacl's short text form ("" when the file has none beyond its mode).
std::string accessAclText(const std::string& path);
