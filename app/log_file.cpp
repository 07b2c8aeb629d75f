#include "app/log_file.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/log_tags.h"
#include "app/settings_file.h"
#include "app/version.h"
#include "platform/files/regular_file.h"
#include "platform/shell/write_all.h"

namespace {

int logDescriptor = -1;

std::tm localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

int twoDigits(int value) { return (value % 100 + 100) % 100; }

}  // namespace

std::string logTimeStamp(const std::tm& localTime)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%02d %02d:%02d:%02d = ", twoDigits(localTime.tm_mday),
                  twoDigits(localTime.tm_mon + 1), twoDigits(localTime.tm_year + 1900), twoDigits(localTime.tm_hour),
                  twoDigits(localTime.tm_min), twoDigits(localTime.tm_sec));
    return stamp;
}

void closeLogFile()
{
    if (logDescriptor >= 0) {
        ::close(logDescriptor);
        logDescriptor = -1;
    }
}

void logLine(std::string_view text)
{
    if (logOut == 0)
        return;
    closeLogFile();
    // A log that is not a plain file (a pipe nobody reads, a device, a folder) is skipped.
    const int descriptor = files::openRegularFile(logFileName, O_WRONLY | O_CREAT | O_APPEND, 0666);
    if (descriptor < 0)
        return;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return;
    }
    logDescriptor = descriptor;
    std::string line = logTimeStamp(localNow());
    line += text;
    line += "\r\n";
    // One unbuffered write per line: the line is on its way to the disk when logLine returns.
    shell::writeAll(descriptor, line);
}

void writeStartLines()
{
    logLine(std::string(63, '='));
    logLine(std::string(tagOpenProgram) + programVersion);
}
