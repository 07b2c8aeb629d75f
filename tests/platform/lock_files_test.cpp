// Ports held by other programs through lock files: which lock files count, and that the port scan's
// look and the open both honour them without making or touching any.

#include "platform/serial/lock_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/serial/serial_port.h"
#include "tests/support/open_watch.h"
#include "tests/support/port_look_for_nobody.h"
#include "tests/support/pty_pair.h"
#include "tests/support/working_folder.h"

namespace {

namespace fs = std::filesystem;

// A process number that names no process: a child that has ended and been waited for.
pid_t deadPid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

std::string asciiLock(pid_t pid)
{
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
    return text;
}

std::string binaryLock(pid_t pid)
{
    const int value = pid;
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

class LockFiles : public WorkingFolderTest {
protected:
    void SetUp() override
    {
        WorkingFolderTest::SetUp();
        ASSERT_FALSE(pty.path.empty());
        fs::create_directory(folder() + "run");
        fs::create_directory(folder() + "var");
        serial::setLockFolders({folder() + "run", folder() + "var"});
    }
    void TearDown() override
    {
        serial::close(port);
        serial::setLockFolders({});
        WorkingFolderTest::TearDown();
    }
    std::string lockPath(const std::string& lockFolder) const
    {
        return folder() + lockFolder + "/LCK.." + fs::path(pty.path).filename().string();
    }

    PtyPair pty;
    serial::Port port;
};

TEST_F(LockFiles, ALockOfALiveProcessHoldsThePortAgainstTheScanAndTheOpen)
{
    struct Case {
        const char* name;
        std::string content;
        bool held;
    };
    const pid_t live = getppid();
    const Case cases[] = {
        {"ASCII, live", asciiLock(live), true},
        {"ASCII with the holder's name after it", std::to_string(live) + " minicom user\n", true},
        {"binary, live", binaryLock(live), true},
        {"ASCII, dead", asciiLock(deadPid()), false},
        {"binary, dead", binaryLock(deadPid()), false},
        {"our own", asciiLock(getpid()), false},
        {"empty", "", true},
        {"garbled", "not a number\n", true},
        {"zero", asciiLock(0), true},
    };
    OpenWatch watch(pty.path);
    ASSERT_TRUE(watch.watching());
    for (const char* lockFolder : {"run", "var"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(lockFolder) + ": " + c.name);
            writeFileBytes(lockPath(lockFolder), c.content);
            EXPECT_EQ(serial::heldByLockFile(pty.path), c.held);
            EXPECT_EQ(serial::isFree(pty.path), !c.held);
            EXPECT_EQ(serial::open(port, pty.path, {}), !c.held);
            serial::close(port);
            // A held port is not even opened: on an adapter the open alone moves the modem lines
            // under the holder.
            EXPECT_EQ(watch.openedSinceLastLook(), !c.held);
            // Only looked at: a stale lock stays, and no lock of ours appears.
            EXPECT_EQ(readFileBytes(lockPath(lockFolder)), c.content);
            EXPECT_EQ(std::distance(fs::directory_iterator(folder() + "run"), fs::directory_iterator()) +
                          std::distance(fs::directory_iterator(folder() + "var"), fs::directory_iterator()),
                      1);
            fs::remove(lockPath(lockFolder));
        }
    }
}

TEST_F(LockFiles, AnUnreadableLockHoldsThePortAndOtherDevicesLocksDoNot)
{
    writeFileBytes(folder() + "run/LCK..ttyS99", asciiLock(getppid()));
    EXPECT_TRUE(serial::isFree(pty.path));
    // A lock that cannot be read, even by root: its holder cannot be told dead.
    fs::create_directory(lockPath("var"));
    EXPECT_TRUE(serial::heldByLockFile(pty.path));
    OpenWatch watch(pty.path);
    EXPECT_FALSE(serial::isFree(pty.path));
    EXPECT_FALSE(serial::open(port, pty.path, {}));
    EXPECT_FALSE(watch.openedSinceLastLook());
}

// An ordinary user cannot read a lock file root keeps to itself (mode 0600); its holder may be at
// work all the same, so the port counts as held and is not even opened.
TEST_F(LockFiles, AnOrdinaryUserTakesALockFileItCannotReadForHeld)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to make a lock file of root's and to run as uid 65534";
    PortLookForNobody nobody(PARAMORA_PORT_LOOK);
    ASSERT_TRUE(nobody.ready());
    ASSERT_EQ(fchmod(pty.slave, 0666), 0);  // the user's own port, apart from the lock

    EXPECT_EQ(nobody.look(pty.path), "1 1\n");

    const std::string lock = nobody.lockFolder() + "/LCK.." + fs::path(pty.path).filename().string();
    writeFileBytes(lock, asciiLock(getpid()));
    ASSERT_EQ(chmod(lock.c_str(), 0600), 0);
    OpenWatch watch(pty.path);
    ASSERT_TRUE(watch.watching());
    EXPECT_EQ(nobody.look(pty.path), "0 0\n");
    EXPECT_FALSE(watch.openedSinceLastLook());
    EXPECT_EQ(readFileBytes(lock), asciiLock(getpid()));
}

}  // namespace
