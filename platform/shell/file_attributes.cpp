#include "platform/shell/file_attributes.h"

#include <cerrno>
#include <string>

#include <acl/libacl.h>
#include <attr/error_context.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/files/descriptor.h"
#include "platform/shell/save_hooks.h"

namespace shell {
namespace {

class Acl {
public:
    explicit Acl(int fd) : acl_(acl_get_fd(fd)) {}
    ~Acl()
    {
        if (acl_)
            acl_free(acl_);
    }
    Acl(const Acl&) = delete;
    Acl& operator=(const Acl&) = delete;
    acl_t get() const { return acl_; }

private:
    acl_t acl_;
};

// A change the test seam refuses, as a file system without owners or modes refuses it.
bool changeRefused()
{
    if (const int error = attributeChangeError()) {
        errno = error;
        return true;
    }
    return false;
}

bool valueOf(int descriptor, const char* name, std::string& value)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const ssize_t size = fgetxattr(descriptor, name, nullptr, 0);
        if (size < 0)
            return false;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = size == 0 ? 0 : fgetxattr(descriptor, name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE)  // ERANGE: it grew in between
            return false;
    }
    return false;
}

struct AttributeCopy {
    error_context errors{};  // first: libattr hands the check this pointer back
    int from = -1;
    int to = -1;
    bool refused = false;
};

// Copies what /etc/xattr.conf lets a copy take (the ACL goes with the permissions), and only what
// the new file does not hold yet: setting even the same security label may be refused.
int copyWhereDifferent(const char* name, error_context* errors)
{
    auto* copy = reinterpret_cast<AttributeCopy*>(errors);
    if (!attr_copy_check_permissions(name, errors))
        return 0;
    std::string wanted, present;
    if (valueOf(copy->from, name, wanted) && valueOf(copy->to, name, present) && wanted == present)
        return 0;
    if (changeRefused()) {
        copy->refused = true;
        return 0;
    }
    return 1;
}

bool copyExtendedAttributes(int from, int to)
{
    AttributeCopy copy;
    copy.from = from;
    copy.to = to;
    const bool copied = attr_copy_fd("", from, "", to, copyWhereDifferent, &copy.errors) == 0;
    return copied && !copy.refused;
}

// The access ACL holds the permission bits; where the file system has no ACLs, the bits alone.
bool samePermissions(int from, int to, const struct stat& old, const struct stat& made)
{
    const Acl wanted(from);
    if (!wanted.get())
        return (old.st_mode & 0777) == (made.st_mode & 0777);
    const Acl present(to);
    return present.get() && acl_cmp(wanted.get(), present.get()) == 0;
}

bool copyPermissions(int from, int to, const struct stat& old)
{
    struct stat made {};
    if (fstat(to, &made) != 0)
        return false;
    if (!samePermissions(from, to, old, made) && (changeRefused() || perm_copy_fd("", from, "", to, nullptr) != 0))
        return false;
    // The set-id and sticky bits, which an ACL does not hold; the mode last, so that its group bits
    // put back the old mask.
    if (fstat(to, &made) != 0)
        return false;
    return (made.st_mode & 07777) == (old.st_mode & 07777) || (!changeRefused() && fchmod(to, old.st_mode & 07777) == 0);
}

}  // namespace

bool copyFileAttributes(int folder, const std::string& name, int to)
{
    // user.* attributes need read access to the file; without it they cannot be kept.
    const files::Descriptor old(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat was {}, made {};
    if (old.get() < 0 || fstat(old.get(), &was) != 0 || fstat(to, &made) != 0)
        return false;
    // The owner first: a change of owner clears the set-id bits and file capabilities.
    if ((made.st_uid != was.st_uid || made.st_gid != was.st_gid) &&
        (changeRefused() || fchown(to, was.st_uid, was.st_gid) != 0))
        return false;
    return copyExtendedAttributes(old.get(), to) && copyPermissions(old.get(), to, was);
}

}  // namespace shell
