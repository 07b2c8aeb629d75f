#pragma once
// A pseudo-terminal pair for tests: the code under test opens the slave path as a serial port, the
// test plays the far end on the master. The slave descriptor stays open as a second holder, as a
// device node would, or as another program that uses the port.

#include <array>
#include <cstdint>
#include <string>

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "platform/clock/clock.h"

struct PtyPair {
    int master = -1;
    int slave = -1;
    std::string path;

    PtyPair()
    {
        termios raw{};
        cfmakeraw(&raw);
        std::array<char, 128> name{};
        if (openpty(&master, &slave, name.data(), &raw, nullptr) == 0)
            path = name.data();
    }
    ~PtyPair()
    {
        closeMaster();
        if (slave >= 0)
            ::close(slave);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // The terminal goes away, its node with it. The slave descriptor, kept until the pair is
    // destroyed, keeps the terminal's number taken: the path stays dead while the test may try it,
    // instead of naming another test's new pair.
    void closeMaster()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    // Up to `expected` bytes from the master, waiting at most two seconds for them.
    std::string readMaster(std::size_t expected)
    {
        std::string got;
        const std::int64_t deadline = sysclock::milliseconds() + 2000;
        while (got.size() < expected && sysclock::milliseconds() < deadline) {
            char chunk[64];
            ssize_t n = ::read(master, chunk, sizeof chunk);
            if (n > 0)
                got.append(chunk, static_cast<std::size_t>(n));
            else
                sysclock::sleep(1);
        }
        return got;
    }
};
