#include "platform/serial/lock_files.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "platform/files/regular_file.h"

namespace serial {
namespace {

const std::vector<std::string> systemLockFolders = {"/run/lock", "/var/lock"};
std::vector<std::string> lockFolders = systemLockFolders;

enum class LockState { Absent, Stale, Held };

// The process number of an ASCII lock ("      1234\n", some writers add their name after it),
// or of a binary one (exactly an int); 0 when the content is neither.
pid_t lockedPid(const char* content, std::size_t length)
{
    std::size_t at = 0;
    while (at < length && (content[at] == ' ' || content[at] == '\t'))
        ++at;
    const std::size_t digits = at;
    long pid = 0;
    while (at < length && std::isdigit(static_cast<unsigned char>(content[at])) && pid <= 0x7FFFFFFF)
        pid = pid * 10 + (content[at++] - '0');
    const bool ascii = at > digits && (at == length || std::isspace(static_cast<unsigned char>(content[at])));
    if (ascii)
        return pid <= 0x7FFFFFFF ? static_cast<pid_t>(pid) : 0;
    if (length == sizeof(int)) {
        int binary = 0;
        std::memcpy(&binary, content, sizeof binary);
        return binary;
    }
    return 0;
}

LockState lockState(const std::string& lockPath)
{
    // Anything but a plain file there (a device, a pipe, a folder) is a mark that cannot be read.
    const int fd = files::openRegularFile(lockPath, O_RDONLY);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? LockState::Absent : LockState::Held;
    std::array<char, 128> content{};
    const ssize_t got = ::read(fd, content.data(), content.size());
    ::close(fd);
    if (got <= 0)
        return LockState::Held;
    const pid_t pid = lockedPid(content.data(), static_cast<std::size_t>(got));
    if (pid <= 0)
        return LockState::Held;
    if (pid == getpid())
        return LockState::Stale;
    // A process of another user answers EPERM, and is as alive as any.
    return kill(pid, 0) == 0 || errno == EPERM ? LockState::Held : LockState::Stale;
}

}  // namespace

bool heldByLockFile(std::string_view devicePath)
{
    const std::size_t slash = devicePath.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? devicePath : devicePath.substr(slash + 1);
    if (name.empty())
        return false;
    for (const std::string& folder : lockFolders)
        if (lockState(folder + "/LCK.." + std::string(name)) == LockState::Held)
            return true;
    return false;
}

void setLockFolders(std::vector<std::string> folders)
{
    lockFolders = folders.empty() ? systemLockFolders : std::move(folders);
}

}  // namespace serial
