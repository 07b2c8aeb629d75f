// Ports another process has open with a plain open(), without any lock: the scan's look and the
// open leave them untouched, whatever name the port goes by. The far side of a pseudo-terminal, the
// program that provides it (socat) and this process's own descriptors are no other program's hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/serial/serial_port.h"
#include "tests/support/open_watch.h"
#include "tests/support/other_process_holding.h"
#include "tests/support/other_program.h"
#include "tests/support/port_look_for_nobody.h"
#include "tests/support/pty_pair.h"
#include "tests/support/socat_terminals.h"
#include "tests/support/working_folder.h"

namespace {

bool sameDevice(const std::string& a, const std::string& b)
{
    struct stat first{}, second{};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_rdev == second.st_rdev;
}

class OpenElsewhere : public WorkingFolderTest {
protected:
    void SetUp() override
    {
        WorkingFolderTest::SetUp();
        ASSERT_FALSE(pty.path.empty());
        std::filesystem::create_symlink(pty.path, link);
    }
    void TearDown() override
    {
        serial::close(port);
        WorkingFolderTest::TearDown();
    }

    PtyPair pty;  // its slave descriptor is this process's own
    serial::Port port;
    const std::string link = folder() + "ttyUSB-by-id";
};

TEST_F(OpenElsewhere, APortAnotherProcessHasOpenIsNeitherProbedNorOpened)
{
    struct Case {
        std::string heldAs;
        std::string lookedAt;
    };
    for (const Case& c : {Case{pty.path, pty.path}, Case{link, pty.path}, Case{pty.path, link}}) {
        SCOPED_TRACE(c.heldAs + " held, " + c.lookedAt + " looked at");
        OtherProcessHolding other(c.heldAs);
        ASSERT_TRUE(other.holding());
        OpenWatch watch(pty.path);
        ASSERT_TRUE(watch.watching());
        EXPECT_FALSE(serial::isFree(c.lookedAt));
        EXPECT_FALSE(serial::open(port, c.lookedAt, {}));
        EXPECT_FALSE(serial::isOpen(port));
        EXPECT_FALSE(watch.openedSinceLastLook());
        serial::close(port);
    }
    // Once the other program has let go, the port is free again.
    EXPECT_TRUE(serial::isFree(pty.path));
    EXPECT_TRUE(serial::open(port, link, {}));
}

TEST_F(OpenElsewhere, OnlyAnotherProcesssDescriptorOfTheSameDeviceHoldsThePort)
{
    PtyPair otherPort;
    ASSERT_FALSE(otherPort.path.empty());
    OtherProcessHolding farEnd(pty.master);
    OtherProcessHolding otherDevice(otherPort.path);
    ASSERT_TRUE(farEnd.holding());
    ASSERT_TRUE(otherDevice.holding());
    EXPECT_TRUE(serial::isFree(pty.path));
    EXPECT_TRUE(serial::open(port, pty.path, {}));
    EXPECT_FALSE(serial::isFree(otherPort.path));
}

// socat keeps each terminal it makes open on both ends: it provides them, and the program may
// use them. Another program that opens one of them holds that one as it would any port, and a
// device socat bridges to a terminal is held by socat.
TEST_F(OpenElsewhere, TheProgramThatProvidesATerminalDoesNotHoldIt)
{
    SocatTerminals socat(folder());
    ASSERT_TRUE(socat.ready());
    for (const std::string& path : {socat.a, SocatTerminals::terminalOf(socat.a), socat.b}) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(serial::isFree(path));
        EXPECT_TRUE(serial::open(port, path, {}));
        serial::close(port);
    }
    {
        OtherProcessHolding user(socat.b);
        ASSERT_TRUE(user.holding());
        OpenWatch watch(SocatTerminals::terminalOf(socat.b));
        ASSERT_TRUE(watch.watching());
        EXPECT_FALSE(serial::isFree(socat.b));
        EXPECT_FALSE(serial::open(port, socat.b, {}));
        EXPECT_FALSE(watch.openedSinceLastLook());
        EXPECT_TRUE(serial::isFree(socat.a));
    }
    EXPECT_TRUE(serial::isFree(socat.b));

    SocatTerminals bridge(folder() + "bridge-", false, pty.path + ",raw,echo=0");
    ASSERT_TRUE(bridge.ready());
    OpenWatch watch(pty.path);
    ASSERT_TRUE(watch.watching());
    EXPECT_FALSE(serial::isFree(pty.path));
    EXPECT_FALSE(serial::open(port, link, {}));
    EXPECT_FALSE(watch.openedSinceLastLook());
    EXPECT_TRUE(serial::isFree(bridge.a));
}

// An ordinary user sees the descriptors of its own programs only. Its own socat provides its
// terminals as root's does; a program of its own that opens one holds it, whoever provides it.
// Root's socat hides its descriptors, the fdinfo naming its terminals included: what cannot be
// read makes no terminal held.
TEST_F(OpenElsewhere, AnOrdinaryUserSeesItsOwnProgramsHolds)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to run programs as root and as uid 65534";
    PortLookForNobody nobody(PARAMORA_PORT_LOOK);
    ASSERT_TRUE(nobody.ready());
    const std::string links = nobody.folder() + "links/";
    std::filesystem::create_directory(links);
    ASSERT_EQ(chown(links.c_str(), 65534, 65534), 0);

    struct Case {
        const char* name;
        bool socatAsNobody;
        bool heldByTheUser;
        const char* expected;
    };
    const Case cases[] = {
        {"the user's own socat", true, false, "1 1\n"},
        {"the user's own socat, a side the user's other program has open", true, true, "0 0\n"},
        {"root's socat", false, false, "1 1\n"},
        {"root's socat, a side the user's other program has open", false, true, "0 0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SocatTerminals socat(links, c.socatAsNobody);
        ASSERT_TRUE(socat.ready());
        const std::string terminal = SocatTerminals::terminalOf(socat.a);
        ASSERT_EQ(chmod(terminal.c_str(), 0666), 0);  // root's terminals are closed to others
        OpenWatch watch(terminal);
        ASSERT_TRUE(watch.watching());
        std::optional<OtherProgram> holder;
        if (c.heldByTheUser) {
            const std::vector<std::string> holding = {"sh", "-c", "exec sleep infinity 3<>\"$0\"", terminal};
            ASSERT_TRUE(holder.emplace(holding, true).started());
            // It opens the terminal in its own time; the bound only stops a broken start.
            const std::string held = "/proc/" + std::to_string(holder->pid()) + "/fd/3";
            const std::int64_t deadline = sysclock::milliseconds() + 20000;
            while (!sameDevice(held, terminal) && sysclock::milliseconds() < deadline)
                sysclock::sleep(5);
            watch.openedSinceLastLook();
        }
        EXPECT_EQ(nobody.look(socat.a), c.expected);
        EXPECT_EQ(watch.openedSinceLastLook(), std::string(c.expected) == "1 1\n");
    }
}

// The scan takes one look at the processes for all its candidates, and reads the fdinfo of
// descriptors that are a terminal's master only.
TEST_F(OpenElsewhere, AScanLooksThroughTheProcessesOnce)
{
    if (OtherProgram::output({"sh", "-c", "strace -o /dev/null true && echo traced"}) != "traced\n")
        GTEST_SKIP() << "strace cannot trace here (no ptrace in this container)";
    SocatTerminals socat(folder());
    ASSERT_TRUE(socat.ready());
    const std::string trace = folder() + "trace";
    // The sanitizers' leak checker refuses to run under a tracer.
    std::vector<std::string> command = {"env", "ASAN_OPTIONS=detect_leaks=0", "strace", "-f", "-e", "trace=open,openat",
                                        "-o", trace, PARAMORA_PORT_LOOK, "--scan"};
    for (const std::string& path : {socat.a, socat.b, pty.path, link, folder() + "none"})
        command.push_back(path);
    EXPECT_EQ(OtherProgram::output(command), socat.a + "\n" + socat.b + "\n" + pty.path + "\n" + link + "\n");
    std::ifstream calls(trace);
    int procWalks = 0;
    int fdinfoReads = 0;
    for (std::string line; std::getline(calls, line);) {
        procWalks += line.find("\"/proc\"") != std::string::npos;
        fdinfoReads += line.find("/fdinfo") != std::string::npos;
    }
    EXPECT_EQ(procWalks, 1);
    EXPECT_GE(fdinfoReads, 1);  // socat's, at least
}

}  // namespace
