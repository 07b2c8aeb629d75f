// Ports another process has open with a plain open(), without any lock: the scan's look and the
// open leave them untouched, whatever name the port goes by. The far side of a pseudo-terminal and
// this process's own descriptors are no other program's hold.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/serial/serial_port.h"
#include "tests/support/open_watch.h"
#include "tests/support/other_process_holding.h"
#include "tests/support/pty_pair.h"
#include "tests/support/working_folder.h"

namespace {

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

}  // namespace
