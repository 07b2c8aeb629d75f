#pragma once
// Pseudo-terminals made by socat, the usual way to reach a gateway or a simulator:
//   socat pty,raw,echo=0,link=<folder>A pty,raw,echo=0,link=<folder>B
// socat holds each terminal's master and keeps its slave open too. It runs as another program
// (none of this process's descriptors), as root or as uid 65534.

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/clock/clock.h"
#include "tests/support/other_program.h"

class SocatTerminals {
public:
    // `otherSide` replaces the second terminal by another address (a device to bridge), which socat
    // opens before it makes side A.
    explicit SocatTerminals(const std::string& folder, bool asNobody = false, const std::string& otherSide = "")
        : a(unused(folder + "A")), b(otherSide.empty() ? unused(folder + "B") : ""),
          socat_(otherSide.empty() ? std::vector<std::string>{"socat", terminal(a), terminal(b)}
                                   : std::vector<std::string>{"socat", otherSide, terminal(a)},
                 asNobody)
    {
        // socat makes the links once its terminals are open; the bound only stops a broken start.
        const std::int64_t deadline = sysclock::milliseconds() + 20000;
        while (socat_.started() && !ready() && sysclock::milliseconds() < deadline)
            sysclock::sleep(5);
    }

    // The links go first: once socat has gone, they would name whatever terminals get their
    // numbers next, other tests' included.
    ~SocatTerminals()
    {
        unused(a);
        if (!b.empty())
            unused(b);
    }
    SocatTerminals(const SocatTerminals&) = delete;
    SocatTerminals& operator=(const SocatTerminals&) = delete;

    bool ready() const
    {
        std::error_code error;
        return std::filesystem::exists(a, error) && (b.empty() || std::filesystem::exists(b, error));
    }
    // The terminal a link names (/dev/pts/<n>).
    static std::string terminalOf(const std::string& link)
    {
        std::error_code error;
        return std::filesystem::canonical(link, error).string();
    }

    const std::string a;
    const std::string b;

private:
    // A link left by an earlier socat would pass for this one's before it has made its own.
    static std::string unused(const std::string& link)
    {
        std::error_code error;
        std::filesystem::remove(link, error);
        return link;
    }
    static std::string terminal(const std::string& link) { return "pty,raw,echo=0,link=" + link; }

    OtherProgram socat_;
};
