// The simulated device, driven with raw frames through the program's serial layer: what it
// answers, and that each fault does what it says.

#include "tests/support/simulated_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "link/ascii_framing.h"
#include "link/crc16.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"
#include "tests/support/pty_pair.h"

namespace {

Bytes hex(const std::string& text)
{
    Bytes bytes;
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

Bytes withCrc(const std::string& text)
{
    Bytes bytes = hex(text);
    const std::uint16_t crc = crc16Modbus(bytes.data(), bytes.size());
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    return bytes;
}

bool crcGood(const Bytes& frame) { return frame.size() >= 4 && crc16Modbus(frame.data(), frame.size()) == 0; }

struct Arrival {
    Bytes bytes;
    std::int64_t firstByteMs = -1;  // from the start of the write, before the device can see it
    int steps = 0;                  // how many times more bytes showed up
};

class DeviceExchange : public ::testing::Test {
protected:
    explicit DeviceExchange(DeviceOptions options = {}) : device(options) {}

    void SetUp() override
    {
        ASSERT_TRUE(device.start());
        ASSERT_TRUE(serial::open(port, device.path(), {device.options().baud, 0, 8, 1.0f}));
    }
    void TearDown() override { serial::close(port); }

    // Sends the request and collects what comes back until `silenceMs` pass without a new byte.
    Arrival exchange(const Bytes& request, int silenceMs = 40, int firstByteLimitMs = 1000)
    {
        Arrival arrival;
        // Timed from before the write: a test thread preempted after it would see a delay shortened.
        const std::int64_t sent = sysclock::milliseconds();
        EXPECT_EQ(serial::write(port, request.data(), request.size()), static_cast<int>(request.size()));
        int seen = 0;
        while (seen == 0 && sysclock::milliseconds() - sent < firstByteLimitMs && !serial::portLost(port))
            seen = serial::waitForInput(port, 0, 10);
        if (seen == 0)
            return arrival;
        arrival.firstByteMs = sysclock::milliseconds() - sent;
        arrival.steps = 1;
        for (;;) {
            const int now = serial::waitForInput(port, seen, silenceMs);
            if (now <= seen)
                break;
            seen = now;
            ++arrival.steps;
        }
        arrival.bytes.resize(static_cast<std::size_t>(seen));
        arrival.bytes.resize(static_cast<std::size_t>(serial::read(port, arrival.bytes.data(), arrival.bytes.size())));
        return arrival;
    }

    SimulatedDevice device;
    serial::Port port;
};

TEST_F(DeviceExchange, AnswersEveryFunctionFromItsTables)
{
    device.setHoldingRegister(0x000A, 0x1234);
    device.setHoldingRegister(0x000B, 0xABCD);
    device.setInputRegister(0x0008, 0x0042);
    device.setCoil(0, true);
    device.setCoil(2, true);
    device.setCoil(9, true);
    device.setDiscreteInput(0x00C5, true);

    EXPECT_EQ(exchange(withCrc("01 03 00 0A 00 02")).bytes, withCrc("01 03 04 12 34 AB CD"));
    EXPECT_EQ(exchange(withCrc("01 04 00 08 00 01")).bytes, withCrc("01 04 02 00 42"));
    EXPECT_EQ(exchange(withCrc("01 01 00 00 00 0A")).bytes, withCrc("01 01 02 05 02"));
    EXPECT_EQ(exchange(withCrc("01 02 00 C4 00 02")).bytes, withCrc("01 02 01 02"));

    EXPECT_EQ(exchange(withCrc("01 06 00 0A 00 07")).bytes, withCrc("01 06 00 0A 00 07"));
    EXPECT_EQ(device.holdingRegister(0x000A), 7);
    EXPECT_EQ(exchange(withCrc("01 05 00 03 FF 00")).bytes, withCrc("01 05 00 03 FF 00"));
    EXPECT_TRUE(device.coil(3));
    EXPECT_EQ(exchange(withCrc("01 10 00 20 00 02 04 00 01 00 02")).bytes, withCrc("01 10 00 20 00 02"));
    EXPECT_EQ(device.holdingRegister(0x0021), 2);
    EXPECT_EQ(exchange(withCrc("01 0F 00 10 00 09 02 00 01")).bytes, withCrc("01 0F 00 10 00 09"));
    EXPECT_TRUE(device.coil(0x18));
    EXPECT_FALSE(device.coil(0x10));

    // libmodbus' own refusal: a block running past the last register.
    EXPECT_EQ(exchange(withCrc("01 03 FF FF 00 02")).bytes, withCrc("01 83 02"));

    const std::vector<Bytes> requests = device.requests();
    ASSERT_EQ(requests.size(), 9u);
    EXPECT_EQ(requests[0], withCrc("01 03 00 0A 00 02"));
    EXPECT_EQ(requests[6], withCrc("01 10 00 20 00 02 04 00 01 00 02"));
    EXPECT_EQ(device.answers().size(), 9u);
}

TEST_F(DeviceExchange, StaysSilentForOtherAddressesAndDamagedRequests)
{
    device.setHoldingRegister(1, 99);
    EXPECT_TRUE(exchange(withCrc("02 03 00 01 00 01"), 40, 300).bytes.empty());
    Bytes damaged = withCrc("01 03 00 01 00 01");
    damaged.back() ^= 0x01;
    EXPECT_TRUE(exchange(damaged, 40, 300).bytes.empty());
    EXPECT_TRUE(exchange(hex("01 03 00"), 40, 300).bytes.empty());
    // ... and answers the next good request as usual.
    EXPECT_EQ(exchange(withCrc("01 03 00 01 00 01")).bytes, withCrc("01 03 02 00 63"));
    EXPECT_EQ(device.requests().size(), 4u);
    EXPECT_EQ(device.requests()[2], hex("01 03 00"));
}

TEST_F(DeviceExchange, EachFaultShapesTheAnswer)
{
    struct Case {
        const char* name;
        Fault fault;
        Bytes expected;
    };
    Bytes badCrc = withCrc("01 03 02 00 2A");
    badCrc.back() ^= 0xFF;
    Bytes garbage = hex("00 FF 3A 0D");
    const Bytes good = withCrc("01 03 02 00 2A");
    garbage.insert(garbage.end(), good.begin(), good.end());
    const Case cases[] = {
        {"no reply", Fault::noReply(), {}},
        {"bad CRC", Fault::badCrc(), badCrc},
        {"other address", Fault::otherAddress(2), withCrc("02 03 02 00 2A")},
        {"exception", Fault::exception(2), withCrc("01 83 02")},
        {"device error", Fault::deviceError(5), withCrc("01 83 FF 01 00 05")},
        {"device error as a write", Fault::deviceError(6, 0xFF01, 0x06), withCrc("01 06 FF 01 00 06")},
        {"replacement", Fault::replaceWith(hex("01 06 00 0A 00 08")), withCrc("01 06 00 0A 00 08")},
        {"replacement as is", Fault::replaceWith(hex("01 03"), false), hex("01 03")},
        {"garbage first", Fault::garbageFirst(hex("00 FF 3A 0D")), garbage},
    };
    device.setHoldingRegister(0x000A, 42);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device.queueFault(c.fault);
        EXPECT_EQ(exchange(withCrc("01 03 00 0A 00 01"), 40, c.expected.empty() ? 300 : 1000).bytes, c.expected);
    }
    EXPECT_FALSE(crcGood(badCrc));
    EXPECT_EQ(device.requests().size(), std::size(cases));
}

TEST_F(DeviceExchange, OverLongAnswerCarriesAValidCrcOverAllItsBytes)
{
    device.setHoldingRegister(0x000A, 42);
    device.queueFault(Fault::overLong(300));
    const Bytes answer = exchange(withCrc("01 03 00 0A 00 01")).bytes;
    ASSERT_EQ(answer.size(), 300u);
    EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 5), hex("01 03 02 00 2A"));
    EXPECT_TRUE(crcGood(answer));
}

TEST_F(DeviceExchange, FaultsLastForTheirCountInQueueOrder)
{
    device.queueFault(Fault::noReply(), 2);
    device.queueFault(Fault::exception(4));
    const Bytes request = withCrc("01 03 00 00 00 01");
    EXPECT_TRUE(exchange(request, 40, 300).bytes.empty());
    EXPECT_TRUE(exchange(request, 40, 300).bytes.empty());
    EXPECT_EQ(exchange(request).bytes, withCrc("01 83 04"));
    EXPECT_EQ(exchange(request).bytes, withCrc("01 03 02 00 00"));
    device.queueFault(Fault::noReply(), 5);
    device.clearFaults();
    EXPECT_EQ(exchange(request).bytes, withCrc("01 03 02 00 00"));
    EXPECT_TRUE(device.waitForRequests(5, 1000));
}

TEST_F(DeviceExchange, DelayHoldsBackTheFirstByte)
{
    device.queueFault(Fault::delayed(120));
    const Arrival arrival = exchange(withCrc("01 03 00 00 00 01"));
    EXPECT_EQ(arrival.bytes, withCrc("01 03 02 00 00"));
    EXPECT_GE(arrival.firstByteMs, 120);
}

// A slow device takes one request at a time: those sent while it is busy wait on the line, even
// back to back, and each is answered on its own and just as late.
TEST_F(DeviceExchange, ALateDeviceAnswersRequestsInTurn)
{
    device.setAnswerDelay(100);
    Bytes laterTwo;
    Bytes expected;
    for (std::uint16_t r = 0; r < 3; ++r) {
        device.setHoldingRegister(r, r);
        const Bytes request = withCrc("01 03 00 0" + std::to_string(r) + " 00 01");
        if (r > 0)
            laterTwo.insert(laterTwo.end(), request.begin(), request.end());
        const Bytes answer = withCrc("01 03 02 00 0" + std::to_string(r));
        expected.insert(expected.end(), answer.begin(), answer.end());
    }
    const Bytes first = withCrc("01 03 00 00 00 01");
    const std::int64_t start = sysclock::milliseconds();
    ASSERT_EQ(serial::write(port, first.data(), first.size()), static_cast<int>(first.size()));
    sysclock::sleep(30);
    ASSERT_EQ(serial::write(port, laterTwo.data(), laterTwo.size()), static_cast<int>(laterTwo.size()));
    for (int answered = 1; answered <= 3; ++answered) {
        EXPECT_EQ(serial::waitForInput(port, 7 * (answered - 1), 1000), 7 * answered);
        EXPECT_GE(sysclock::milliseconds() - start, 100 * answered);
    }
    Bytes answers(expected.size());
    ASSERT_EQ(serial::read(port, answers.data(), answers.size()), static_cast<int>(answers.size()));
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(device.requests().size(), 3u);
}

// A device of constant latency takes every request at once and answers each its fixed delay after
// itself: the second answer follows the first by the requests' spacing, not by a whole delay.
TEST_F(DeviceExchange, AConstantLatencyDeviceAnswersEachRequestItsDelayAfterIt)
{
    constexpr int latencyMs = 300;
    device.setAnswerLatency(latencyMs);
    device.setHoldingRegister(1, 1);
    device.setHoldingRegister(2, 2);
    const Bytes first = withCrc("01 03 00 01 00 01");
    const Bytes second = withCrc("01 03 00 02 00 01");
    ASSERT_EQ(serial::write(port, first.data(), first.size()), static_cast<int>(first.size()));
    sysclock::sleep(30);
    ASSERT_EQ(serial::write(port, second.data(), second.size()), static_cast<int>(second.size()));
    int waiting = 0;
    for (int now; waiting < 14 && (now = serial::waitForInput(port, waiting, 3000)) > waiting;)
        waiting = now;
    ASSERT_EQ(waiting, 14);
    Bytes answers(14);
    ASSERT_EQ(serial::read(port, answers.data(), answers.size()), 14);
    Bytes expected = withCrc("01 03 02 00 01");
    const Bytes secondAnswer = withCrc("01 03 02 00 02");
    expected.insert(expected.end(), secondAnswer.begin(), secondAnswer.end());
    EXPECT_EQ(answers, expected);

    ASSERT_TRUE(device.waitForRequests(2, 3000));  // the answers' times are noted after them
    const auto asked = device.requestTimes();
    const auto answered = device.answerTimes();
    ASSERT_EQ(asked.size(), 2u);
    ASSERT_EQ(answered.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_GE(answered[i] - asked[i], std::chrono::milliseconds(latencyMs)) << i;
    // A device taking one request at a time would put a whole delay between the answers.
    EXPECT_LT(answered[1] - answered[0], std::chrono::milliseconds(latencyMs));
}

TEST_F(DeviceExchange, DribbledBytesArriveWithGaps)
{
    const Bytes request = withCrc("01 03 00 00 00 01");
    const Bytes answer = withCrc("01 03 02 00 00");

    // Gaps well below the silence the collector waits for: one answer, in several steps.
    device.queueFault(Fault::dribble(20, 2));
    std::int64_t start = sysclock::milliseconds();
    Arrival arrival = exchange(request, 250);
    EXPECT_EQ(arrival.bytes, answer);
    EXPECT_GE(arrival.steps, 2);
    EXPECT_GE(sysclock::milliseconds() - start, 3 * 20);  // four chunks, three gaps

    // Gaps well above it: the collector stops after the first chunk.
    device.queueFault(Fault::dribble(250, 3));
    arrival = exchange(request, 20);
    EXPECT_EQ(arrival.bytes, Bytes(answer.begin(), answer.begin() + 3));
    EXPECT_EQ(serial::waitForInput(port, 3, 2000), 4);  // the rest comes later
    std::uint8_t rest[8];
    EXPECT_EQ(serial::read(port, rest, sizeof rest), 4);
}

TEST_F(DeviceExchange, DeviceVanishingMidAnswerLeavesALostPort)
{
    device.queueFault(Fault::vanish(3));
    const Arrival arrival = exchange(withCrc("01 03 00 00 00 01"), 50, 500);
    EXPECT_LE(arrival.bytes.size(), 3u);  // the terminal may drop what was in flight
    EXPECT_TRUE(device.vanished());
    EXPECT_EQ(serial::bytesWaitingIn(port), 0);
    EXPECT_TRUE(serial::portLost(port));
    std::uint8_t buffer[4];
    EXPECT_EQ(serial::write(port, buffer, sizeof buffer), 0);
}

TEST_F(DeviceExchange, DeviceVanishingBetweenRequestsLeavesALostPort)
{
    device.vanish();
    EXPECT_TRUE(device.vanished());
    EXPECT_EQ(serial::waitForInput(port, 0, 50), 0);
    EXPECT_TRUE(serial::portLost(port));
    serial::close(port);
    EXPECT_FALSE(serial::open(port, device.path(), {}));
}

// Tests try a gone device's path after the fact. Meanwhile a parallel test's new terminal must not
// get its number: the path would name that test's terminal, and the look would find it there.
TEST_F(DeviceExchange, AGoneDevicesPathStaysDeadUntilItStartsAgain)
{
    serial::close(port);
    for (const bool stopped : {false, true}) {
        SCOPED_TRACE(stopped ? "stopped" : "vanished");
        const std::string path = device.path();
        if (stopped)
            device.stop();
        else
            device.vanish();
        PtyPair parallel;
        ASSERT_FALSE(parallel.path.empty());
        EXPECT_NE(parallel.path, path);
        EXPECT_FALSE(serial::isFree(path));
        EXPECT_FALSE(serial::open(port, path, {}));
    }
    ASSERT_TRUE(device.start());
    EXPECT_TRUE(serial::open(port, device.path(), {}));
}

TEST_F(DeviceExchange, UnaskedBytesWaitOnTheLine)
{
    device.sendUnasked(hex("DE AD BE EF"));
    EXPECT_EQ(serial::waitForInput(port, 3, 1000), 4);
    EXPECT_TRUE(device.requests().empty());
}

TEST_F(DeviceExchange, SeesTheLineSettingsTheProgramChose)
{
    serial::close(port);
    ASSERT_TRUE(serial::open(port, device.path(), {19200, 4, 8, 2.0f}));
    const termios line = device.lineSettings();
    EXPECT_EQ(cfgetospeed(&line), B19200);
    EXPECT_NE(line.c_cflag & CSTOPB, 0u);
    EXPECT_NE(line.c_cflag & CMSPAR, 0u);
    EXPECT_EQ(line.c_cflag & PARODD, 0u);
}

class AsciiDeviceExchange : public DeviceExchange {
protected:
    AsciiDeviceExchange() : DeviceExchange({.baud = 9600, .address = 7, .ascii = true}) {}

    Bytes asciiRequest(const std::string& body)
    {
        const Bytes binary = hex(body);
        Bytes text(asciiFrameLength(binary.size()));
        text.resize(asciiEncode(binary.data(), binary.size(), text.data(), text.size()));
        return text;
    }
    AsciiDecodeResult decode(const Bytes& text, Bytes& body)
    {
        body.assign(128, 0);
        const AsciiDecodeResult r = asciiDecode(text.data(), text.size(), body.data(), body.size());
        body.resize(r.length);
        return r;
    }
};

TEST_F(AsciiDeviceExchange, AnswersInAsciiFrames)
{
    device.setHoldingRegister(0x000A, 0xBEEF);
    const Bytes request = asciiRequest("07 03 00 0A 00 01");
    const Arrival arrival = exchange(request);
    EXPECT_EQ(std::string(arrival.bytes.begin(), arrival.bytes.end()), ":070302BEEF47\r\n");
    Bytes body;
    EXPECT_EQ(decode(arrival.bytes, body).status, AsciiDecodeStatus::Ok);
    EXPECT_EQ(body, hex("07 03 02 BE EF"));
    ASSERT_EQ(device.requests().size(), 1u);
    EXPECT_EQ(device.requests()[0], request);

    EXPECT_EQ(exchange(asciiRequest("07 06 00 0B 12 34")).bytes, asciiRequest("07 06 00 0B 12 34"));
    EXPECT_EQ(device.holdingRegister(0x000B), 0x1234);
}

TEST_F(AsciiDeviceExchange, FaultsApplyToAsciiFramesToo)
{
    const Bytes request = asciiRequest("07 03 00 00 00 01");
    Bytes body;
    device.queueFault(Fault::badCrc());
    EXPECT_EQ(decode(exchange(request).bytes, body).status, AsciiDecodeStatus::BadLrc);
    device.queueFault(Fault::exception(1));
    EXPECT_EQ(decode(exchange(request).bytes, body).status, AsciiDecodeStatus::Ok);
    EXPECT_EQ(body, hex("07 83 01"));
    device.queueFault(Fault::overLong(301));
    const Bytes longAnswer = exchange(request).bytes;
    EXPECT_GE(longAnswer.size(), 301u);
    EXPECT_EQ(decode(longAnswer, body).status, AsciiDecodeStatus::TooLong);  // our 128-byte body
    Bytes bad = request;
    bad[3] = 'X';
    EXPECT_TRUE(exchange(bad, 40, 300).bytes.empty());
}

}  // namespace
