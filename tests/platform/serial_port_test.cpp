#include "platform/serial/serial_port.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include "platform/clock/clock.h"
#include "platform/serial/termios_settings.h"
#include "tests/support/pty_pair.h"
#include "tests/support/socat_terminals.h"
#include "tests/support/working_folder.h"

namespace {

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(pty.path.empty());
        fcntl(pty.master, F_SETFL, O_NONBLOCK);
    }
    void TearDown() override { serial::close(port); }

    void writeMaster(std::string_view bytes)
    {
        ASSERT_EQ(::write(pty.master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }

    PtyPair pty;
    serial::Port port;
};

struct SettingsCase {
    serial::LineSettings settings;
    speed_t speed;
    tcflag_t flags;  // expected CSIZE | PARENB | PARODD | CMSPAR | CSTOPB bits
};

const SettingsCase settingsCases[] = {
    {{9600, 0, 8, 1.0f}, B9600, CS8},
    {{1200, 1, 8, 2.0f}, B1200, CS8 | PARENB | PARODD | CSTOPB},
    {{115200, 2, 7, 1.0f}, B115200, CS7 | PARENB},
    {{19200, 3, 8, 1.0f}, B19200, CS8 | PARENB | PARODD | CMSPAR},
    {{57600, 4, 7, 2.0f}, B57600, CS7 | PARENB | CMSPAR | CSTOPB},
};
constexpr tcflag_t frameFlags = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;

TEST(SerialTermios, BuildsRawLineWithoutFlowControl)
{
    for (const SettingsCase& c : settingsCases) {
        SCOPED_TRACE(c.settings.baud);
        termios line{};
        line.c_iflag = IXON | IXOFF | ICRNL | INPCK;
        line.c_lflag = ICANON | ECHO | ISIG;
        line.c_oflag = OPOST;
        line.c_cflag = CRTSCTS | PARENB | CS5;
        ASSERT_TRUE(serial::makeTermios(c.settings, line));
        EXPECT_EQ(cfgetospeed(&line), c.speed);
        EXPECT_EQ(cfgetispeed(&line), c.speed);
        EXPECT_EQ(line.c_cflag & frameFlags, c.flags);
        EXPECT_EQ(line.c_cflag & CRTSCTS, 0u);
        EXPECT_NE(line.c_cflag & CLOCAL, 0u);
        EXPECT_NE(line.c_cflag & CREAD, 0u);
        EXPECT_EQ(line.c_iflag & (IXON | IXOFF | IXANY | ICRNL | ISTRIP | INPCK), 0u);
        EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(line.c_oflag & OPOST, 0u);
        EXPECT_EQ(line.c_cc[VMIN], 0);
        EXPECT_EQ(line.c_cc[VTIME], 0);
    }
    const serial::LineSettings refused[] = {
        {9600, 0, 8, 1.5f}, {9600, 0, 6, 1.0f}, {9600, 5, 8, 1.0f}, {12345, 0, 8, 1.0f}, {0, 0, 8, 1.0f},
    };
    for (const serial::LineSettings& s : refused) {
        termios line{};
        EXPECT_FALSE(serial::makeTermios(s, line));
    }
}

// The driver's read-back against the request: an adapter must report back every part of the line
// asked for, a pseudo-terminal all but the data bits and parity switch, which it never keeps.
TEST(SerialTermios, TakesTheLineOnlyWhenTheDriverKeptAllItCan)
{
    termios wanted{};
    ASSERT_TRUE(serial::makeTermios({9600, 1, 7, 2.0f}, wanted));  // odd parity, 7 data bits, 2 stop bits
    struct Case {
        const char* change;
        tcflag_t cleared;
        tcflag_t added;
        speed_t speed;
        bool takenByAdapter;
        bool takenByPseudoTerminal;
    };
    const Case cases[] = {
        {"none", 0, 0, B9600, true, true},
        {"parity off", PARENB, 0, B9600, false, true},
        {"8 data bits", CSIZE, CS8, B9600, false, true},
        {"8 data bits and parity off", CSIZE | PARENB, CS8, B9600, false, true},
        {"even parity", PARODD, 0, B9600, false, false},
        {"stick parity", 0, CMSPAR, B9600, false, false},
        {"1 stop bit", CSTOPB, 0, B9600, false, false},
        {"flow control", 0, CRTSCTS, B9600, false, false},
        {"other speed", 0, 0, B19200, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        termios applied = wanted;
        applied.c_cflag = (applied.c_cflag & ~c.cleared) | c.added;
        ASSERT_EQ(cfsetispeed(&applied, c.speed), 0);
        ASSERT_EQ(cfsetospeed(&applied, c.speed), 0);
        EXPECT_EQ(serial::lineTaken(wanted, applied, false), c.takenByAdapter);
        EXPECT_EQ(serial::lineTaken(wanted, applied, true), c.takenByPseudoTerminal);
    }
}

// A pseudo-terminal keeps speed, stop bits and the odd/stick parity marks, though its driver
// always reports 8 data bits and parity off.
TEST_F(SerialPortTest, AppliesTheLineSettingsToTheTerminal)
{
    for (const SettingsCase& c : settingsCases) {
        SCOPED_TRACE(c.settings.baud);
        ASSERT_TRUE(serial::open(port, pty.path, c.settings));
        EXPECT_TRUE(serial::isOpen(port));
        termios applied{};
        ASSERT_EQ(tcgetattr(pty.slave, &applied), 0);
        EXPECT_EQ(cfgetospeed(&applied), c.speed);
        EXPECT_EQ(cfgetispeed(&applied), c.speed);
        EXPECT_EQ(applied.c_cflag & (PARODD | CMSPAR | CSTOPB | CRTSCTS), c.flags & (PARODD | CMSPAR | CSTOPB));
        EXPECT_EQ(applied.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(applied.c_iflag & (IXON | IXOFF | ICRNL), 0u);
        serial::close(port);
        EXPECT_FALSE(serial::isOpen(port));
    }
}

TEST_F(SerialPortTest, RefusesSettingsAndPathsItCannotHonour)
{
    const serial::LineSettings badSettings[] = {{9600, 0, 8, 1.5f}, {9600, 0, 7, 3.0f}, {2000000, 0, 8, 1.0f}};
    for (const serial::LineSettings& s : badSettings) {
        EXPECT_FALSE(serial::open(port, pty.path, s));
        EXPECT_FALSE(serial::isOpen(port));
    }
    EXPECT_FALSE(serial::open(port, "/dev/no-such-port", {}));
    EXPECT_FALSE(serial::open(port, "/dev/null", {}));  // not a terminal
    EXPECT_FALSE(serial::open(port, "", {}));
    for (const char* path : {"/dev/no-such-port", "/dev/null", ""})
        EXPECT_FALSE(serial::isFree(path)) << path;
    // A refused open leaves nothing behind that blocks a good one.
    EXPECT_TRUE(serial::open(port, pty.path, {}));
}

TEST_F(SerialPortTest, CarriesBytesBothWaysAndCountsTheQueues)
{
    ASSERT_TRUE(serial::open(port, pty.path, {}));
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(serial::bytesWaitingIn(port), 0);
    EXPECT_EQ(serial::read(port, buffer, sizeof buffer), 0);  // nothing waiting: returns at once

    writeMaster(std::string("\x01\x03\x00\r\n\xFF\x11", 7));  // CR, LF and NUL pass untouched
    EXPECT_EQ(serial::waitForInput(port, 6, 2000), 7);
    EXPECT_EQ(serial::bytesWaitingIn(port), 7);
    EXPECT_EQ(serial::read(port, buffer, 3), 3);
    EXPECT_EQ(serial::bytesWaitingIn(port), 4);
    EXPECT_EQ(serial::read(port, buffer + 3, sizeof buffer - 3), 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 7), std::string("\x01\x03\x00\r\n\xFF\x11", 7));
    EXPECT_EQ(serial::bytesWaitingIn(port), 0);

    const std::uint8_t frame[] = {0x01, 0x06, 0x00, 0x0A, 0x0D, 0x0A, 0x00, 0xFF};
    EXPECT_EQ(serial::write(port, frame, sizeof frame), 8);
    EXPECT_EQ(pty.readMaster(8), std::string(reinterpret_cast<const char*>(frame), 8));
    EXPECT_EQ(serial::bytesWaitingOut(port), 0);
    EXPECT_FALSE(serial::portLost(port));
}

TEST_F(SerialPortTest, WriteGivesUpWhenTheDeviceTakesNothing)
{
    ASSERT_TRUE(serial::open(port, pty.path, {}));
    std::string flood(1 << 20, 'x');  // far beyond what the terminal buffers
    const int written = serial::write(port, reinterpret_cast<const std::uint8_t*>(flood.data()), flood.size());
    EXPECT_GT(written, 0);
    EXPECT_LT(written, static_cast<int>(flood.size()));
    EXPECT_FALSE(serial::portLost(port));
}

TEST_F(SerialPortTest, OpeningDiscardsBytesThatArrivedBefore)
{
    writeMaster("stale");
    sysclock::sleep(20);
    ASSERT_TRUE(serial::open(port, pty.path, {}));
    EXPECT_EQ(serial::bytesWaitingIn(port), 0);
}

TEST_F(SerialPortTest, WaitForInputWakesOnArrivalAndOtherwiseWaitsItsTime)
{
    ASSERT_TRUE(serial::open(port, pty.path, {}));
    std::int64_t start = sysclock::milliseconds();
    EXPECT_EQ(serial::waitForInput(port, 0, 30), 0);
    EXPECT_GE(sysclock::milliseconds() - start, 30);

    // Arrival ends the wait long before its time-out: a wait that sat out the 30 s would be
    // caught far above the bound, however slow the machine.
    constexpr int longWaitMs = 30000;
    constexpr int wokenWithinMs = 10000;
    std::thread device([this] {
        sysclock::sleep(20);
        writeMaster("ab");
    });
    start = sysclock::milliseconds();
    EXPECT_EQ(serial::waitForInput(port, 0, longWaitMs), 2);
    EXPECT_LT(sysclock::milliseconds() - start, wokenWithinMs);
    device.join();

    // With bytes already waiting it waits for more, not for what is there.
    start = sysclock::milliseconds();
    EXPECT_EQ(serial::waitForInput(port, 2, 15), 2);
    EXPECT_GE(sysclock::milliseconds() - start, 15);
    start = sysclock::milliseconds();
    EXPECT_EQ(serial::waitForInput(port, 1, longWaitMs), 2);
    EXPECT_LT(sysclock::milliseconds() - start, wokenWithinMs);

    // The engine's wait, in microseconds, the same way.
    std::uint8_t taken[2];
    ASSERT_EQ(serial::read(port, taken, sizeof taken), 2);
    start = sysclock::milliseconds();
    EXPECT_FALSE(serial::waitForAnyInput(port, 30000));
    EXPECT_GE(sysclock::milliseconds() - start, 30);
    std::thread again([this] {
        sysclock::sleep(20);
        writeMaster("c");
    });
    start = sysclock::milliseconds();
    EXPECT_TRUE(serial::waitForAnyInput(port, std::int64_t{longWaitMs} * 1000));
    EXPECT_LT(sysclock::milliseconds() - start, wokenWithinMs);
    again.join();
}

TEST_F(SerialPortTest, OpenPortIsExclusive)
{
    EXPECT_TRUE(serial::isFree(pty.path));
    ASSERT_TRUE(serial::open(port, pty.path, {}));  // the look left nothing behind
    EXPECT_FALSE(serial::isFree(pty.path));
    serial::Port second;
    EXPECT_FALSE(serial::open(second, pty.path, {}));
    EXPECT_FALSE(serial::isOpen(second));
    serial::close(port);
    EXPECT_TRUE(serial::isFree(pty.path));
    EXPECT_TRUE(serial::open(second, pty.path, {}));
    serial::close(second);
}

TEST_F(SerialPortTest, PortLockedByAnotherProgramIsRefused)
{
    int other = ::open(pty.path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(serial::open(port, pty.path, {}));
    ::close(other);

    other = ::open(pty.path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(ioctl(other, TIOCEXCL), 0);
    EXPECT_FALSE(serial::open(port, pty.path, {}));
    ioctl(other, TIOCNXCL);
    ::close(other);
    EXPECT_TRUE(serial::open(port, pty.path, {}));
}

TEST_F(SerialPortTest, VanishedDeviceReadsAsSilenceAndIsReported)
{
    ASSERT_TRUE(serial::open(port, pty.path, {}));
    writeMaster("xy");
    ASSERT_EQ(serial::waitForInput(port, 0, 2000), 2);
    // The terminal's node goes with its master, as an adapter's does when unplugged. The test's own
    // slave descriptor keeps the terminal's number taken, so that no other test's pair gets the
    // path before the open below tries it.
    pty.closeMaster();

    EXPECT_EQ(serial::bytesWaitingIn(port), 0);
    EXPECT_TRUE(serial::portLost(port));
    EXPECT_TRUE(serial::isOpen(port));
    std::uint8_t buffer[8];
    EXPECT_EQ(serial::read(port, buffer, sizeof buffer), 0);
    EXPECT_EQ(serial::write(port, buffer, sizeof buffer), 0);
    EXPECT_EQ(serial::bytesWaitingOut(port), 0);
    const std::int64_t start = sysclock::milliseconds();
    EXPECT_EQ(serial::waitForInput(port, 0, 20), 0);
    EXPECT_GE(sysclock::milliseconds() - start, 20);  // slept its time instead of spinning
    serial::close(port);
    EXPECT_FALSE(serial::portLost(port));
    PtyPair parallel;
    EXPECT_NE(parallel.path, pty.path);
    EXPECT_FALSE(serial::open(port, pty.path, {}));
}

TEST_F(SerialPortTest, LossIsNoticedByWaitingAndReading)
{
    ASSERT_TRUE(serial::open(port, pty.path, {}));
    std::thread device([this] {
        sysclock::sleep(20);
        pty.closeMaster();
    });
    EXPECT_EQ(serial::waitForInput(port, 0, 200), 0);
    device.join();
    EXPECT_TRUE(serial::portLost(port));

    serial::Port other;
    PtyPair second;
    ASSERT_TRUE(serial::open(other, second.path, {}));
    second.closeMaster();
    std::uint8_t buffer[4];
    EXPECT_EQ(serial::read(other, buffer, sizeof buffer), 0);
    EXPECT_TRUE(serial::portLost(other));
    serial::close(other);

    // A hang-up while nobody reads or waits shows at the next look.
    PtyPair third;
    ASSERT_TRUE(serial::open(other, third.path, {}));
    EXPECT_FALSE(serial::checkForLoss(other));
    third.closeMaster();
    EXPECT_FALSE(serial::portLost(other));
    EXPECT_TRUE(serial::checkForLoss(other));
    EXPECT_TRUE(serial::portLost(other));
    serial::close(other);
}

// Up to `expected` bytes from a non-blocking descriptor, waiting at most two seconds for them.
std::string readWithin(int fd, std::size_t expected)
{
    std::string got;
    const std::int64_t deadline = sysclock::milliseconds() + 2000;
    for (std::int64_t left; got.size() < expected && (left = deadline - sysclock::milliseconds()) > 0;) {
        pollfd waitIn{fd, POLLIN, 0};
        poll(&waitIn, 1, static_cast<int>(left));
        char chunk[64];
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0)
            got.append(chunk, static_cast<std::size_t>(n));
    }
    return got;
}

class SerialPortOnSocat : public WorkingFolderTest {};

// Terminals socat provides, as users make them to reach a gateway or a simulator. Every line
// setting the Comm Window offers opens there every time: each one five times in a row, and after
// each other one; every open carries a frame to the other side.
TEST_F(SerialPortOnSocat, EveryLineSettingOpensEveryTime)
{
    SocatTerminals socat(folder());
    ASSERT_TRUE(socat.ready());
    const int otherSide = ::open(socat.b.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(otherSide, 0);
    const std::string frame("\x01\x03\x00\x03\x00\x01\x74\x0A", 8);
    serial::Port port;
    for (std::uint16_t parity = 0; parity <= 4; ++parity)
        for (std::uint16_t dataBits : {7, 8})
            for (float stopBits : {1.0f, 2.0f})
                for (int cycle = 1; cycle <= 5; ++cycle) {
                    SCOPED_TRACE("parity " + std::to_string(parity) + ", " + std::to_string(dataBits) + " data bits, "
                                 + std::to_string(static_cast<int>(stopBits)) + " stop bits, open "
                                 + std::to_string(cycle));
                    if (!serial::open(port, socat.a, {9600, parity, dataBits, stopBits})) {
                        ADD_FAILURE() << "the port did not open";
                        continue;
                    }
                    EXPECT_EQ(serial::write(port, reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size()),
                              static_cast<int>(frame.size()));
                    EXPECT_EQ(readWithin(otherSide, frame.size()), frame);
                    serial::close(port);
                }
    ::close(otherSide);
}

}  // namespace
