#include "tests/support/unprivileged_user.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <grp.h>
#include <unistd.h>

namespace {

constexpr uid_t nobody = 65534;

bool giveToNobody(const std::string& folder, const std::vector<std::string>& othersFiles)
{
    std::error_code error;
    if (lchown(folder.c_str(), nobody, nobody) != 0)
        return false;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        const bool others = std::any_of(othersFiles.begin(), othersFiles.end(), [&](const std::string& path) {
            return std::filesystem::equivalent(entry.path(), path, error);
        });
        if (!others && lchown(entry.path().c_str(), nobody, nobody) != 0)
            return false;
    }
    return !error;
}

}  // namespace

UnprivilegedUser::UnprivilegedUser(const std::string& workingFolder, const std::vector<std::string>& othersFiles)
{
    if (geteuid() == 0) {
        if (!giveToNobody(workingFolder, othersFiles)) {
            failure_ = std::string("running as root and cannot hand the test folder to uid 65534: ") + std::strerror(errno);
            return;
        }
        groups_.resize(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
        groups_.resize(static_cast<std::size_t>(std::max(getgroups(static_cast<int>(groups_.size()), groups_.data()), 0)));
        // Groups first: once the user id is dropped they can no longer be changed.
        if (setgroups(0, nullptr) != 0 || setegid(nobody) != 0 || seteuid(nobody) != 0) {
            failure_ = std::string("running as root and cannot drop to uid 65534: ") + std::strerror(errno);
            seteuid(0);
            setegid(0);
            setgroups(groups_.size(), groups_.data());
            return;
        }
        dropped_ = true;
    }
    if (faccessat(AT_FDCWD, workingFolder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        failure_ = "the test folder is not writable for the unprivileged user";
}

UnprivilegedUser::~UnprivilegedUser()
{
    if (!dropped_)
        return;
    // The real and saved ids stayed root, so the way back is open.
    seteuid(0);
    setegid(0);
    setgroups(groups_.size(), groups_.data());
}

bool writeProtected(const std::string& path) { return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0; }
