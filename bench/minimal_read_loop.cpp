#include "bench/minimal_read_loop.h"

#include <cerrno>
#include <chrono>
#include <cstdint>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

speed_t speedOf(std::uint32_t baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B9600;
    }
}

std::int64_t microsecondsSince(Clock::time_point from)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - from).count();
}

// True when input is waiting within `us` microseconds.
bool waitReadable(int fd, std::int64_t us)
{
    pollfd p{fd, POLLIN, 0};
    const timespec limit{static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000L};
    return ppoll(&p, 1, &limit, nullptr) > 0 && (p.revents & POLLIN);
}

bool writeAll(int fd, const std::vector<std::uint8_t>& frame)
{
    std::size_t sent = 0;
    while (sent < frame.size()) {
        const ssize_t n = ::write(fd, frame.data() + sent, frame.size() - sent);
        if (n > 0)
            sent += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
    }
    return true;
}

// Reads what has arrived; true when at least one byte came.
bool drain(int fd)
{
    std::uint8_t chunk[256];
    bool got = false;
    while (::read(fd, chunk, sizeof chunk) > 0)
        got = true;
    return got;
}

void sleepMs(std::uint32_t ms)
{
    timespec t{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

}  // namespace

MinimalLoopResult minimalReadLoop(const std::string& path, std::uint32_t baud,
                                  const std::vector<std::vector<std::uint8_t>>& requests, int replyTimeoutMs)
{
    MinimalLoopResult result;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return result;
    termios line{};
    if (tcgetattr(fd, &line) != 0) {
        ::close(fd);
        return result;
    }
    cfmakeraw(&line);
    cfsetspeed(&line, speedOf(baud));
    line.c_cflag |= CLOCAL | CREAD;
    tcsetattr(fd, TCSANOW, &line);
    tcflush(fd, TCIOFLUSH);

    const std::int64_t silenceUs = 1000 * std::int64_t{230400 / baud};
    const std::uint32_t pauseMs = 115200 / baud;
    const auto start = Clock::now();
    for (const auto& frame : requests) {
        if (!writeAll(fd, frame))
            break;
        if (!waitReadable(fd, 1000 * std::int64_t{replyTimeoutMs})) {
            ++result.unanswered;
        } else {
            // The reply ends when the line has been silent for longer than the limit.
            auto lastByte = Clock::now();
            for (;;) {
                if (drain(fd)) {
                    lastByte = Clock::now();
                    continue;
                }
                const std::int64_t quiet = microsecondsSince(lastByte);
                if (quiet > silenceUs)
                    break;
                waitReadable(fd, silenceUs - quiet + 1);
            }
        }
        sleepMs(pauseMs);
    }
    result.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ::close(fd);
    return result;
}
