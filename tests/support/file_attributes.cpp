#include "tests/support/file_attributes.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <acl/libacl.h>
#include <sys/acl.h>
#include <sys/xattr.h>

namespace {

std::string setAcl(const std::string& path, acl_type_t type, const char* aclText)
{
    acl_t acl = acl_from_text(aclText);
    if (!acl)
        return std::string("bad ACL text: ") + aclText;
    const int result = acl_set_file(path.c_str(), type, acl);
    const int error = errno;
    acl_free(acl);
    return result == 0 ? "" : "cannot set an ACL here: " + std::string(std::strerror(error));
}

}  // namespace

ExtendedAttributes extendedAttributes(const std::string& path)
{
    ExtendedAttributes attributes;
    std::vector<char> names(static_cast<std::size_t>(std::max<ssize_t>(llistxattr(path.c_str(), nullptr, 0), 0)));
    const ssize_t listed = names.empty() ? 0 : llistxattr(path.c_str(), names.data(), names.size());
    for (ssize_t at = 0; at < listed; at += static_cast<ssize_t>(std::strlen(names.data() + at)) + 1) {
        const char* name = names.data() + at;
        std::string value(static_cast<std::size_t>(std::max<ssize_t>(lgetxattr(path.c_str(), name, nullptr, 0), 0)), '\0');
        if (!value.empty())
            value.resize(static_cast<std::size_t>(std::max<ssize_t>(lgetxattr(path.c_str(), name, value.data(), value.size()), 0)));
        attributes[name] = value;
    }
    return attributes;
}

std::string setAccessAcl(const std::string& path, const char* aclText) { return setAcl(path, ACL_TYPE_ACCESS, aclText); }

std::string setDefaultAcl(const std::string& folder, const char* aclText) { return setAcl(folder, ACL_TYPE_DEFAULT, aclText); }

std::string setUserAttribute(const std::string& path, const std::string& name, const std::string& value)
{
    if (lsetxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) == 0)
        return "";
    return "cannot set a user attribute here: " + std::string(std::strerror(errno));
}

std::string accessAclText(const std::string& path)
{
    acl_t acl = acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
    if (!acl)
        return "";
    std::string text;
    if (acl_equiv_mode(acl, nullptr) != 0) {
        char* written = acl_to_any_text(acl, nullptr, ',', TEXT_ABBREVIATE);
        if (written)
            text = written;
        acl_free(written);
    }
    acl_free(acl);
    return text;
}
