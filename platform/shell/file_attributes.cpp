#include "platform/shell/file_attributes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace shell {
namespace {

// Reads a list or a value whose size is asked first; ERANGE means it grew in between.
template <typename Read>
bool readSized(Read read, std::string& bytes)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return false;
        bytes.resize(static_cast<std::size_t>(size));
        const ssize_t got = size == 0 ? 0 : read(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
    return false;
}

std::vector<std::string> splitNames(const std::string& list)
{
    std::vector<std::string> names;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = list.find('\0', at);
        names.emplace_back(list.substr(at, end - at));
        at = end == std::string::npos ? list.size() : end + 1;
    }
    return names;
}

// A file system without extended attributes has none to keep.
bool namesAt(const std::string& path, std::vector<std::string>& names)
{
    std::string list;
    if (!readSized([&](char* to, std::size_t size) { return llistxattr(path.c_str(), to, size); }, list))
        return errno == ENOTSUP;
    names = splitNames(list);
    return true;
}

bool namesOf(int descriptor, std::vector<std::string>& names)
{
    std::string list;
    if (!readSized([&](char* to, std::size_t size) { return flistxattr(descriptor, to, size); }, list))
        return errno == ENOTSUP;
    names = splitNames(list);
    return true;
}

bool copyExtendedAttributes(const std::string& from, int to)
{
    std::vector<std::string> wanted, present;
    if (!namesAt(from, wanted) || !namesOf(to, present))
        return false;
    for (const std::string& name : present)
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() && fremovexattr(to, name.c_str()) != 0)
            return false;
    for (const std::string& name : wanted) {
        std::string value, current;
        // user.* attributes need read access to the file; without it they cannot be kept.
        if (!readSized([&](char* into, std::size_t size) { return lgetxattr(from.c_str(), name.c_str(), into, size); }, value))
            return false;
        // An attribute the new file already holds as it should is left alone: setting even the
        // same security label may be refused.
        const bool same = readSized([&](char* into, std::size_t size) { return fgetxattr(to, name.c_str(), into, size); },
                                    current) &&
                          current == value;
        if (!same && fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0)
            return false;
    }
    return true;
}

}  // namespace

bool copyFileAttributes(const std::string& from, int to)
{
    struct stat old {}, made {};
    if (lstat(from.c_str(), &old) != 0 || fstat(to, &made) != 0)
        return false;
    // The owner first: a change of owner clears the set-id bits and file capabilities.
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && fchown(to, old.st_uid, old.st_gid) != 0)
        return false;
    // The mode last: setting an ACL rewrites the group bits, and the mode puts back the old mask.
    return copyExtendedAttributes(from, to) && fchmod(to, old.st_mode & 07777) == 0;
}

}  // namespace shell
