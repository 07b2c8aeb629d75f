#include "platform/serial/serial_port.h"

#include <cerrno>
#include <cstdint>
#include <string>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include "platform/clock/clock.h"
#include "platform/serial/lock_files.h"
#include "platform/serial/open_elsewhere.h"
#include "platform/serial/termios_settings.h"

namespace serial {
namespace {

constexpr int writeStallLimitMs = 1000;

bool speedFor(std::uint32_t baud, speed_t& speed)
{
    struct Rate {
        std::uint32_t baud;
        speed_t speed;
    };
    static constexpr Rate rates[] = {
        {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
        {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
        {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800},
        {921600, B921600},
    };
    for (const Rate& rate : rates) {
        if (rate.baud == baud) {
            speed = rate.speed;
            return true;
        }
    }
    return false;
}

tcflag_t parityFlags(std::uint16_t parityCode)
{
    switch (parityCode) {
    case 1: return PARENB | PARODD;
    case 2: return PARENB;
    case 3: return PARENB | CMSPAR | PARODD;
    case 4: return PARENB | CMSPAR;
    default: return 0;
    }
}

constexpr tcflag_t lineFlags = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;

bool deviceGone(int error)
{
    return error == EIO || error == ENXIO || error == ENODEV || error == EPIPE || error == EBADF;
}

void noteFailure(Port& port)
{
    if (deviceGone(errno))
        port.lost = true;
}

// USB adapters otherwise hold received bytes for up to 16 ms, longer than the silence that ends
// a reply at high baud rates. Drivers without the setting (pseudo-terminals) simply refuse.
void askForLowLatency(int fd)
{
    serial_struct info{};
    if (ioctl(fd, TIOCGSERIAL, &info) != 0)
        return;
    info.flags |= ASYNC_LOW_LATENCY;
    ioctl(fd, TIOCSSERIAL, &info);
}

// The slave side of a pseudo-terminal (/dev/pts/<n>), as socat and simulators provide.
bool isPseudoTerminal(int fd)
{
    struct stat info{};
    if (fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    const unsigned kind = major(info.st_rdev);
    return kind >= 136 && kind <= 143;
}

bool applySettings(int fd, const LineSettings& settings)
{
    termios wanted{};
    if (tcgetattr(fd, &wanted) != 0 || !makeTermios(settings, wanted))
        return false;
    const bool pseudoTerminal = isPseudoTerminal(fd);
    // The C library reads the line back after setting it and may report EINVAL when the size or
    // parity asked for is missing, though the driver took the rest; whether it does depends on what
    // the line held before (the same parity twice in a row fails). A pseudo-terminal never keeps
    // those bits, so there the read-back below decides.
    if (tcsetattr(fd, TCSANOW, &wanted) != 0 && !(pseudoTerminal && errno == EINVAL))
        return false;
    // tcsetattr succeeds when the driver took any part of the request; check that it took it all.
    termios applied{};
    return tcgetattr(fd, &applied) == 0 && lineTaken(wanted, applied, pseudoTerminal);
}

// Opens the device without becoming its controlling terminal and without waiting for a carrier,
// unless another holder keeps it. A lock file and another process's descriptor are looked for
// before the open, which would already raise the modem lines under that holder; a flock (the one
// taken here goes with the descriptor) and the terminal's exclusive mode, which refuses others'
// opens except root's and so is asked for too, only after it. Settings, queues and modem lines are
// left alone. -1 when the device does not open, is no terminal, or is kept by another holder.
int openFreeTerminal(std::string_view path, const DevicesOpenElsewhere& openElsewhere)
{
    if (heldByLockFile(path) || openElsewhere.includes(path))
        return -1;
    const std::string name(path);
    const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    int alreadyExclusive = 0;
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0
        || (ioctl(fd, TIOCGEXCL, &alreadyExclusive) == 0 && alreadyExclusive != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool makeTermios(const LineSettings& settings, termios& line)
{
    speed_t speed{};
    if (!speedFor(settings.baud, speed) || (settings.dataBits != 7 && settings.dataBits != 8)
        || (settings.stopBits != 1.0f && settings.stopBits != 2.0f) || settings.parityCode > 4)
        return false;
    cfmakeraw(&line);
    line.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    line.c_cflag &= ~lineFlags;
    line.c_cflag |= CLOCAL | CREAD | (settings.dataBits == 7 ? CS7 : CS8) | parityFlags(settings.parityCode);
    if (settings.stopBits == 2.0f)
        line.c_cflag |= CSTOPB;
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    return cfsetispeed(&line, speed) == 0 && cfsetospeed(&line, speed) == 0;
}

bool lineTaken(const termios& wanted, const termios& applied, bool pseudoTerminal)
{
    const tcflag_t checked = pseudoTerminal ? lineFlags & ~(CSIZE | PARENB) : lineFlags;
    return (applied.c_cflag & checked) == (wanted.c_cflag & checked) && cfgetospeed(&applied) == cfgetospeed(&wanted)
           && cfgetispeed(&applied) == cfgetispeed(&wanted);
}

bool open(Port& port, std::string_view path, const LineSettings& settings)
{
    close(port);
    termios check{};
    if (!makeTermios(settings, check))
        return false;
    const int fd = openFreeTerminal(path, DevicesOpenElsewhere::look());
    if (fd < 0)
        return false;
    // The exclusive mode refuses any later open by others while the port is ours.
    const bool madeExclusive = ioctl(fd, TIOCEXCL) == 0;
    if (!applySettings(fd, settings)) {
        if (madeExclusive)
            ioctl(fd, TIOCNXCL);
        ::close(fd);
        return false;
    }
    askForLowLatency(fd);
    tcflush(fd, TCIOFLUSH);
    port.fd = fd;
    port.lost = false;
    return true;
}

// The kernel raises DTR and RTS at any open of a line whose speed is not 0; a port in use that no
// mark gave away (its holder's descriptors hidden from us) has them up already, as a rule, and on a
// port nobody holds this close is the last and lowers them again where the line is set to hang up
// on close, as after any program's last close.
bool isFree(std::string_view path) { return isFree(path, DevicesOpenElsewhere::look()); }

bool isFree(std::string_view path, const DevicesOpenElsewhere& openElsewhere)
{
    const int fd = openFreeTerminal(path, openElsewhere);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

void close(Port& port)
{
    if (port.fd >= 0) {
        // The exclusive mark belongs to the terminal, not to our descriptor: it would outlive us
        // while anyone else keeps the terminal open.
        ioctl(port.fd, TIOCNXCL);
        ::close(port.fd);
    }
    port.fd = -1;
    port.lost = false;
}

bool isOpen(const Port& port) { return port.fd >= 0; }

bool portLost(const Port& port) { return port.lost; }

bool checkForLoss(Port& port)
{
    if (port.fd < 0 || port.lost)
        return port.lost;
    pollfd look{port.fd, POLLIN, 0};
    if (poll(&look, 1, 0) > 0 && (look.revents & (POLLHUP | POLLERR | POLLNVAL)))
        port.lost = true;
    return port.lost;
}

int bytesWaitingIn(Port& port)
{
    if (port.fd < 0 || port.lost)
        return 0;
    int count = 0;
    if (ioctl(port.fd, FIONREAD, &count) != 0) {
        noteFailure(port);
        return 0;
    }
    return count;
}

int bytesWaitingOut(Port& port)
{
    if (port.fd < 0 || port.lost)
        return 0;
    int count = 0;
    if (ioctl(port.fd, TIOCOUTQ, &count) != 0) {
        noteFailure(port);
        return 0;
    }
    return count;
}

int read(Port& port, std::uint8_t* buffer, std::size_t capacity)
{
    if (port.fd < 0 || port.lost || capacity == 0)
        return 0;
    for (;;) {
        ssize_t got = ::read(port.fd, buffer, capacity);
        if (got > 0)
            return static_cast<int>(got);
        if (got == 0) {
            bytesWaitingIn(port);  // a hung-up terminal reads as end of file; the query tells
            return 0;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            noteFailure(port);
        return 0;
    }
}

int write(Port& port, const std::uint8_t* data, std::size_t length)
{
    if (port.fd < 0 || port.lost)
        return 0;
    std::size_t written = 0;
    const std::int64_t deadline = sysclock::milliseconds() + writeStallLimitMs;
    while (written < length) {
        ssize_t put = ::write(port.fd, data + written, length - written);
        if (put > 0) {
            written += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN) {
            noteFailure(port);
            break;
        }
        const std::int64_t left = deadline - sysclock::milliseconds();
        if (left <= 0)
            break;
        pollfd waitOut{port.fd, POLLOUT, 0};
        poll(&waitOut, 1, static_cast<int>(left));
    }
    return static_cast<int>(written);
}

int waitForInput(Port& port, int alreadySeen, int milliseconds)
{
    const std::int64_t deadline = sysclock::milliseconds() + (milliseconds > 0 ? milliseconds : 0);
    for (;;) {
        const int waiting = bytesWaitingIn(port);
        const std::int64_t left = deadline - sysclock::milliseconds();
        if (port.fd < 0 || port.lost) {
            sysclock::sleep(left);
            return 0;
        }
        if (waiting > alreadySeen || left <= 0)
            return waiting;
        if (waiting == 0) {
            pollfd waitIn{port.fd, POLLIN, 0};
            if (poll(&waitIn, 1, static_cast<int>(left)) > 0 && (waitIn.revents & (POLLHUP | POLLERR | POLLNVAL)))
                port.lost = true;
        } else {
            // poll() reports the bytes already there at once; only time tells whether more come.
            sysclock::sleep(left < 1 ? left : 1);
        }
    }
}

bool waitForAnyInput(Port& port, std::int64_t microseconds)
{
    if (port.fd < 0 || port.lost) {
        sysclock::sleepMicroseconds(microseconds);
        return false;
    }
    if (bytesWaitingIn(port) > 0)
        return true;
    if (microseconds <= 0)
        return false;
    pollfd waitIn{port.fd, POLLIN, 0};
    const timespec limit{static_cast<time_t>(microseconds / 1000000), static_cast<long>(microseconds % 1000000) * 1000L};
    if (ppoll(&waitIn, 1, &limit, nullptr) > 0 && (waitIn.revents & (POLLHUP | POLLERR | POLLNVAL)))
        port.lost = true;
    return bytesWaitingIn(port) > 0;
}

}  // namespace serial
