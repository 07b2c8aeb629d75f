// The request engine against the simulated device, through the program's real port: attempts,
// checks, error walk, trace, and the limits of the reply buffer.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "description/description_store.h"
#include "link/line_settings.h"
#include "link/modbus_engine.h"
#include "link/modbus_request.h"
#include "link/modbus_status.h"
#include "link/request_limits.h"
#include "link/serial_link.h"
#include "platform/clock/clock.h"
#include "tests/link/link_device_test.h"
#include "tests/link/link_test_buffers.h"
#include "tests/support/late_devices.h"
#include "tests/support/trace_text.h"

namespace {

// The terminal hands on what the device wrote a moment after the device is done: wait on the
// port until its input stops growing, so that the next request finds all of it as stale input.
void waitForTheLineToSettle()
{
    int seen = serial::bytesWaitingIn(serialPort);
    for (int now; (now = serial::waitForInput(serialPort, seen, 100)) > seen;)
        seen = now;
}

using Lines = std::vector<std::string>;

const std::string readRequest = frameWithCrc("01 03 00 0A 00 01");

struct Outcome {
    Lines trace;
    std::uint16_t status = 0;
    std::size_t requests = 0;
};

class RequestEngine : public LinkDeviceTest {
protected:
    explicit RequestEngine(DeviceOptions options = {.baud = 115200}) : LinkDeviceTest(options) {}

    void SetUp() override
    {
        LinkDeviceTest::SetUp();  // Zr12: device-error rows only
        device.setHoldingRegister(0x000A, 42);
        device.clearRequests();
    }

    Outcome run(bool write, std::uint16_t table = 4, std::uint16_t value = 0)
    {
        const std::size_t mark = traceLines().size();
        modbusRequest.deviceAddress = 1;
        modbusRequest.startRegister = 0x000A;
        modbusRequest.registerTable = table;
        modbusRequest.count = 1;
        modbusRequest.values[0] = value;
        if (write)
            modbusWrite();
        else
            modbusRead();
        Outcome outcome;
        outcome.trace = timeless(traceSince(mark));
        outcome.status = modbusRequest.status;
        outcome.requests = device.requests().size();
        device.clearRequests();
        return outcome;
    }

    // The lines of `attempts` failed attempts that each end with the same lines after the request.
    static Lines repeated(int attempts, const std::string& request, const Lines& afterRequest)
    {
        Lines lines;
        for (int n = 1; n <= attempts; ++n) {
            lines.push_back("Запрос " + std::to_string(n) + ": " + request);
            lines.insert(lines.end(), afterRequest.begin(), afterRequest.end());
            lines.push_back("");
        }
        return lines;
    }

    static void useStandardExceptionRow()
    {
        deviceErrorCodes.clear();
        deviceErrorCodes.append() = DeviceErrorCode{errorKindException, 0, 0, 0, ""};
    }
};

TEST_F(RequestEngine, GoodReadAndWriteTraceTheirExchangeAndStopAtOnce)
{
    const Outcome read = run(false);
    EXPECT_EQ(read.status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);
    EXPECT_EQ(read.trace, (Lines{"Запрос 1: " + readRequest, "Ответ через # мс: " + frameWithCrc("01 03 02 00 2A"),
                                 "Проверка CRC16 OK"}));

    const Outcome write = run(true, 4, 7);
    EXPECT_EQ(write.status, statusGood);
    EXPECT_EQ(write.trace, (Lines{"Запрос 1: " + frameWithCrc("01 06 00 0A 00 07"),
                                  "Ответ через # мс : " + frameWithCrc("01 06 00 0A 00 07"), "Проверка CRC16 OK",
                                  "Значение регистра 7 записано"}));
    EXPECT_EQ(device.holdingRegister(0x000A), 7);
}

TEST_F(RequestEngine, FailuresAreRetriedUpToRepeatCountWithTheirTrace)
{
    struct Case {
        const char* name;
        Fault fault;
        std::uint16_t status;
        Lines afterRequest;
    };
    const std::string goodReply = "Ответ через # мс: " + frameWithCrc("01 03 02 00 2A");
    Bytes corrupted = crcFrame("01 03 02 00 2A");
    corrupted.back() ^= 0xFF;  // as the device spoils it
    const Case cases[] = {
        {"silent", Fault::noReply(), statusTimeout, {"Превышено время ожидания"}},
        {"bad CRC", Fault::badCrc(), statusChecksumError, {"Ответ через # мс: " + traced(corrupted), "Ошибка CRC16"}},
        {"other address", Fault::otherAddress(2), statusWrongAddress,
         {"Ответ через # мс: " + frameWithCrc("02 03 02 00 2A"), "Проверка CRC16 OK", "Адрес устройства не соответствует"}},
        {"device error", Fault::deviceError(5), statusDeviceError,
         {"Ответ через # мс: " + frameWithCrc("01 83 FF 01 00 05"), "Проверка CRC16 OK", "Ошибка: Недействительные параметры"}},
        // Without a standard-exception row an exception reply is only another function code.
        {"exception, no kind-0 row", Fault::exception(2), statusWrongFunction,
         {"Ответ через # мс: " + frameWithCrc("01 83 02"), "Проверка CRC16 OK", "Функциональный код не соответствует"}},
        {"reply too short", Fault::replaceWith(hexBytes("01 03"), false), statusChecksumError,
         {"Ответ через # мс: 01 03 ", "Ошибка CRC16"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        waitTimer = c.fault.silent ? 60 : 5000;
        device.queueFault(c.fault, 3);
        const Outcome outcome = run(false);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.requests, 3u);
        EXPECT_EQ(outcome.trace, repeated(3, readRequest, c.afterRequest));
    }

    // Failed attempts, then a good one: the request succeeds with the value of the good reply.
    waitTimer = 60;
    device.queueFault(Fault::noReply());
    device.queueFault(Fault::badCrc());
    const Outcome recovered = run(false);
    ASSERT_FALSE(recovered.trace.empty());
    EXPECT_EQ(recovered.status, statusGood);
    EXPECT_EQ(recovered.requests, 3u);
    EXPECT_EQ(recovered.trace.back(), "Проверка CRC16 OK");
    EXPECT_EQ(modbusRequest.values[0], 42);

    // Fewer than one attempt means one.
    repeatCount = 0;
    device.queueFault(Fault::noReply(), 3);
    EXPECT_EQ(run(false).requests, 1u);
}

// Read replies with a good CRC whose data does not fit the request: each attempt fails and says
// why, and no value comes from them (above all not the reply's own CRC).
TEST_F(RequestEngine, ReadRepliesWithoutTheRequestedDataFailAndAreRetried)
{
    struct Case {
        std::uint16_t table;
        const char* reply;  // without its CRC
        const char* why;
    };
    const Case cases[] = {
        {4, "01 03 00", "Число байт данных в ответе не соответствует запросу: 0 вместо 2"},
        {4, "01 03 01 12", "Число байт данных в ответе не соответствует запросу: 1 вместо 2"},
        {4, "01 03 04 00 2A 00 2B", "Число байт данных в ответе не соответствует запросу: 4 вместо 2"},
        {4, "01 03 02 12", "Ответ короче, чем указано в нем: байт данных 1 из 2"},
        {4, "01 03", "Ответ не содержит числа байт данных"},
        {3, "01 04 00", "Число байт данных в ответе не соответствует запросу: 0 вместо 2"},
        {3, "01 04 02 12", "Ответ короче, чем указано в нем: байт данных 1 из 2"},
        {0, "01 01 00", "Число байт данных в ответе не соответствует запросу: 0 вместо 1"},
        {0, "01 01 02 01 00", "Число байт данных в ответе не соответствует запросу: 2 вместо 1"},
        {0, "01 01 01", "Ответ короче, чем указано в нем: байт данных 0 из 1"},
        {1, "01 02 00", "Число байт данных в ответе не соответствует запросу: 0 вместо 1"},
    };
    constexpr std::uint16_t untouched = 0xBEEF;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        device.queueFault(Fault::replaceWith(hexBytes(c.reply)), 3);
        const Outcome outcome = run(false, c.table, untouched);
        EXPECT_EQ(outcome.status, statusMalformedReply);
        EXPECT_EQ(outcome.requests, 3u);
        EXPECT_EQ(modbusRequest.values[0], untouched);
        const std::string function = c.table == 4 ? "03" : c.table == 3 ? "04" : c.table == 1 ? "02" : "01";
        EXPECT_EQ(outcome.trace, repeated(3, frameWithCrc("01 " + function + " 00 0A 00 01"),
                                          {"Ответ через # мс: " + frameWithCrc(c.reply), "Проверка CRC16 OK", c.why}));
    }
}

TEST_F(RequestEngine, StandardExceptionRepliesEndTheAttempts)
{
    useStandardExceptionRow();
    struct Case {
        const char* reply;  // to a read of a holding register, without its CRC
        std::uint16_t status;
        const char* line;
        std::size_t requests;
    };
    const Case cases[] = {
        {"01 83 02", 12, "Код ошибки 02: Адрес не существует", 1},
        {"01 83 05", 15, "Код 05: Данные не готовы, требуется время на ответ", 1},
        {"01 83 08", 18, "Код ошибки 08: Ошибка четности", 1},
        // An exception reply with a code the protocol does not define still ends the attempts.
        {"01 83 09", statusWrongFunction, "Функциональный код не соответствует", 1},
        // An exception reply to any of the functions the link knows ends them, whichever was asked.
        {"01 81 01", 11, "Код ошибки 01: Недопустимый код функции", 1},
        {"01 86 06", 16, "Код 06: Сервер занят, повторите запрос позже", 1},
        {"01 8F 07", 17, "Код ошибки 07: Невозможно выполнить запрос", 1},
        {"01 90 02", 12, "Код ошибки 02: Адрес не существует", 1},
        // Other functions with the high bit set are only another function code: tried again.
        {"01 87 02", statusWrongFunction, "Функциональный код не соответствует", 3},
        {"01 91 02", statusWrongFunction, "Функциональный код не соответствует", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        device.queueFault(Fault::replaceWith(hexBytes(c.reply)), 3);
        const Outcome outcome = run(false);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.requests, c.requests);
        EXPECT_EQ(outcome.trace, repeated(static_cast<int>(c.requests), readRequest,
                                          {"Ответ через # мс: " + frameWithCrc(c.reply), "Проверка CRC16 OK", c.line}));
        device.clearFaults();
    }
}

// An echo confirms only the write it repeats: another value means the device did not take it,
// another register that it answers some other request.
TEST_F(RequestEngine, AnEchoOfAnotherWriteIsNotASuccessfulWrite)
{
    struct Case {
        const char* echo;  // to the write of 7 to 0x000A
        const char* why;
    };
    const Case cases[] = {
        {"01 06 00 0A 00 08", "Значение регистра не соответствует записанному"},
        {"01 06 00 0B 00 07", "Адрес регистра в ответе не соответствует запросу"},
        {"01 06 01 0A 00 07", "Адрес регистра в ответе не соответствует запросу"},
        {"01 06 00 0A 01 07", "Значение регистра не соответствует записанному"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.echo);
        device.queueFault(Fault::replaceWith(hexBytes(c.echo)), 3);
        const Outcome outcome = run(true, 4, 7);
        EXPECT_EQ(outcome.status, statusWrongEcho);
        EXPECT_EQ(outcome.trace, repeated(3, frameWithCrc("01 06 00 0A 00 07"),
                                          {"Ответ через # мс : " + frameWithCrc(c.echo), "Проверка CRC16 OK", c.why}));
    }
    // A coil's echo names its coil too, in both bytes.
    for (const char* echo : {"01 05 00 0B FF 00", "01 05 01 0A FF 00"}) {
        device.queueFault(Fault::replaceWith(hexBytes(echo)), 3);
        EXPECT_EQ(run(true, 0, 1).status, statusWrongEcho) << echo;
    }
}

// A reply, garbled or an exception, is the device's answer to its attempt: a request whose every
// frame was answered leaves the line at once, however late the device. (A wait would last longer
// than the device's delay, which is long here so that the two cannot be confused.)
TEST_F(RequestEngine, ARequestWhoseEveryFrameWasAnsweredEndsWithItsLastAnswer)
{
    useStandardExceptionRow();
    constexpr int delayMs = 1000;
    device.setAnswerDelay(delayMs);
    struct Case {
        const char* name;
        std::vector<Fault> faults;  // for the first attempts, one each
        std::uint16_t status;
        std::size_t requests;
    };
    const Case cases[] = {
        {"good at once", {}, statusGood, 1},
        {"bad CRC, then good", {Fault::badCrc()}, statusGood, 2},
        {"short data, then good", {Fault::replaceWith(hexBytes("01 03 02 12"))}, statusGood, 2},
        {"exception", {Fault::exception(2)}, 12, 1},
    };
    modbusRequest.deviceAddress = 1;
    modbusRequest.startRegister = 0x000A;
    modbusRequest.registerTable = 4;
    modbusRequest.count = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Fault& fault : c.faults)
            device.queueFault(fault);
        modbusRead();
        const auto done = std::chrono::steady_clock::now();
        EXPECT_EQ(modbusRequest.status, c.status);
        // The device notes an answer's time a moment after the program may have read it.
        ASSERT_TRUE(device.waitForRequests(c.requests, 5000));
        ASSERT_EQ(device.answerTimes().size(), c.requests);
        EXPECT_LT(done - device.answerTimes().back(), std::chrono::milliseconds(delayMs * 7 / 10));
        device.clearRequests();
    }
}

// Once a request has its answer, the answers still owed to its other attempts are dropped unseen,
// garbled or not: they neither fail the request nor show in the trace. (The device is 95 ms late,
// so the first answer comes after all three attempts of 30 ms, or during one on a busy machine.)
TEST_F(RequestEngine, AnswersOwedAfterTheRequestHasItsAnswerAreDroppedUnseen)
{
    waitTimer = 30;
    const Fault spoilt[] = {Fault::badCrc(), Fault::otherAddress(2)};
    for (bool constant : {false, true})
        for (const Fault& fault : spoilt) {
            SCOPED_TRACE(std::string(constant ? "each attempt " : "one request at a time, ") +
                         (fault.corruptChecksum ? "bad CRC" : "other address"));
            device.setAnswerDelay(constant ? 0 : 95);
            device.setAnswerLatency(constant ? 95 : 0);
            device.queueFault(Fault{});  // the first attempt's answer is good
            device.queueFault(fault);    // the second one's spoilt
            const Outcome outcome = run(false);
            EXPECT_EQ(outcome.status, statusGood);
            EXPECT_EQ(modbusRequest.values[0], 42);
            ASSERT_FALSE(outcome.trace.empty());
            EXPECT_EQ(outcome.trace.back(), "Проверка CRC16 OK");
            EXPECT_EQ(std::count(outcome.trace.begin(), outcome.trace.end(), "Проверка CRC16 OK"), 1);
            device.clearFaults();
        }
}

// A device silent through a whole wait for late answers is silent, not late: from then on a
// request it leaves unanswered costs its attempts only, whether the device was silent from the
// start or fell silent after answering, until it answers again. (A wait would add the attempts'
// time and a time-out again: 400 ms a request here.)
TEST_F(RequestEngine, ASilentDeviceCostsEachRequestItsAttemptsOnly)
{
    waitTimer = 100;
    struct Case {
        const char* name;
        int answeredFirst;
    };
    const Case cases[] = {{"silent from the start", 0}, {"silent after answering", 2}};
    constexpr int silentRequests = 4;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device.stop();
        ASSERT_TRUE(device.start());
        openDevicePort();
        device.setHoldingRegister(0x000A, 42);
        for (int n = 0; n < c.answeredFirst; ++n)
            EXPECT_EQ(run(false).status, statusGood);
        device.queueFault(Fault::noReply(), 3 * (1 + silentRequests));
        EXPECT_EQ(run(false).status, statusTimeout);  // waits out the answers a late device would give
        const std::int64_t start = sysclock::milliseconds();
        for (int n = 0; n < silentRequests; ++n) {
            const Outcome silent = run(false);
            EXPECT_EQ(silent.status, statusTimeout);
            EXPECT_EQ(silent.requests, 3u);
        }
        // The attempts take 300 ms a request; the bound leaves a busy machine half as much again.
        EXPECT_LT(sysclock::milliseconds() - start, silentRequests * 450);
        device.setHoldingRegister(0x000A, 43);
        EXPECT_EQ(run(false).status, statusGood);
        EXPECT_EQ(modbusRequest.values[0], 43);
    }
}

// What a device did on one opening of the port says nothing of the next: a late device behind a
// port reopened after a silent one still has its answer awaited.
TEST_F(RequestEngine, ANewOpeningOfThePortForgetsTheSilence)
{
    waitTimer = 100;
    device.queueFault(Fault::noReply(), 6);
    EXPECT_EQ(run(false).status, statusTimeout);
    EXPECT_EQ(run(false).status, statusTimeout);
    closeSerialPort();
    openDevicePort();
    device.setAnswerDelay(3 * waitTimer + 100);
    EXPECT_EQ(run(false).status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);
}

// Answers that waited on the line while the program was busy arrive as one reply: whole frames back
// to back are the answers they are (the first one checked), anything else is one garbled reply.
TEST_F(RequestEngine, AnswersBackToBackAreTakenFrameByFrame)
{
    waitTimer = 60;
    struct Case {
        const char* name;
        Bytes line;  // the answer to the second attempt, the first having gone unanswered
        std::uint16_t status;
        std::size_t requests;
    };
    const Bytes good = crcFrame("01 03 02 00 2A");
    Bytes twoGood = good;
    twoGood.insert(twoGood.end(), good.begin(), good.end());
    Bytes goodThenNoise = good;
    goodThenNoise.insert(goodThenNoise.end(), {0x01, 0x03, 0x02, 0x00});
    Bytes exceptionThenGood = crcFrame("01 83 02");
    exceptionThenGood.insert(exceptionThenGood.end(), good.begin(), good.end());
    const Case cases[] = {
        {"two answers", twoGood, statusGood, 2},
        {"an answer and noise", goodThenNoise, statusGood, 3},
        {"another function's answer first", exceptionThenGood, statusGood, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device.queueFault(Fault::noReply());
        device.queueFault(Fault::replaceWith(c.line, false));
        const Outcome outcome = run(false);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.requests, c.requests);
        if (c.status == statusGood) {
            EXPECT_EQ(modbusRequest.values[0], 42);
        }
        device.clearFaults();
    }
}

TEST_F(RequestEngine, WritesToReadOnlyTablesFailWithoutBeingSent)
{
    for (std::uint16_t table : {1, 3}) {
        modbusRequest.status = statusGood;
        const Outcome outcome = run(true, table, 1);
        EXPECT_EQ(outcome.status, statusIllegalFunction) << table;
        EXPECT_EQ(outcome.requests, 0u);
        EXPECT_TRUE(outcome.trace.empty());
    }
}

TEST_F(RequestEngine, RepliesBeyondTheBufferAreDroppedAndFailTheirCheck)
{
    repeatCount = 1;
    device.queueFault(Fault::overLong(300));
    const Outcome outcome = run(false);
    EXPECT_EQ(outcome.status, statusChecksumError);
    ASSERT_EQ(outcome.trace.size(), 4u);
    const std::string prefix = "Ответ через # мс: ";
    EXPECT_EQ(outcome.trace[1].size(), prefix.size() + 256 * 3);  // only what the buffer holds is shown
    // The rest was drained: the next request reads cleanly.
    EXPECT_EQ(run(false).status, statusGood);
}

TEST_F(RequestEngine, StaleInputAndGarbageDoNotPassForAReply)
{
    device.sendUnasked(hexBytes("01 03 02 12 34 00 00"));
    device.queueFault(Fault::garbageFirst(hexBytes("00 FF")));
    // Whatever of the stale bytes the discard caught, the value never comes from them.
    const Outcome outcome = run(false);
    EXPECT_EQ(outcome.status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);
    EXPECT_GE(outcome.requests, 2u);
}

TEST_F(RequestEngine, NoPortMeansStatusFourAndOneMessage)
{
    closeSerialPort();
    modbusRequest.status = statusGood;
    const Outcome outcome = run(false);
    EXPECT_EQ(outcome.status, statusPortNotOpen);
    EXPECT_TRUE(outcome.trace.empty());
    EXPECT_EQ(unavailablePortTexts, (Lines{"Текущий порт недоступен!"}));
}

// The port goes away during a request: the request ends where the loss shows, whatever attempts
// remain, with the status and the one message of a request made with no port at all. No wait runs
// out its time first: the time-out is long enough to tell.
TEST_F(RequestEngine, ALostPortEndsTheRequestAtOnceAsAClosedPortDoes)
{
    waitTimer = 3000;
    struct Case {
        const char* name;
        bool write;
        int bytesBeforeLoss;  // -1: the device is gone before the request
        std::size_t requestLines;
    };
    const Case cases[] = {
        {"read, half a reply", false, 3, 1},
        {"read, no reply", false, 0, 1},
        {"write, half an echo", true, 4, 1},
        {"read, gone while idle", false, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device.stop();
        ASSERT_TRUE(device.start());
        openDevicePort();
        unavailablePortTexts.clear();
        if (c.bytesBeforeLoss < 0)
            device.vanish();
        else
            device.queueFault(Fault::vanish(c.bytesBeforeLoss));
        const std::int64_t start = sysclock::milliseconds();
        const Outcome outcome = run(c.write, 4, 7);
        EXPECT_LT(sysclock::milliseconds() - start, 1000);
        EXPECT_EQ(outcome.status, statusPortNotOpen);
        EXPECT_EQ(unavailablePortTexts, (Lines{"Текущий порт недоступен!"}));
        EXPECT_TRUE(requestLinesEndAtTheLoss(outcome.trace, static_cast<long>(c.requestLines)))
            << requestLineCount(outcome.trace);
        EXPECT_EQ(std::count(outcome.trace.begin(), outcome.trace.end(), "Превышено время ожидания"), 0);
        // Nothing after the loss: the trace ends with the request or with what came of the reply.
        if (!outcome.trace.empty()) {
            EXPECT_NE(outcome.trace.back(), "");
        }
    }
}

// After a request that timed out the engine waits for answers still on their way; a port that goes
// away meanwhile ends that wait too, and the next request finds it gone.
TEST_F(RequestEngine, ALossWhileLateAnswersAreAwaitedEndsTheWait)
{
    waitTimer = 1500;
    repeatCount = 1;
    device.queueFault(Fault::noReply());
    std::thread unplug([this] {
        sysclock::sleep(1700);  // the time-out is over, the wait for the answer has 1.3 s to go
        device.vanish();
    });
    const std::int64_t start = sysclock::milliseconds();
    const Outcome failed = run(false);
    EXPECT_LT(sysclock::milliseconds() - start, 2700);
    unplug.join();
    EXPECT_EQ(failed.status, statusTimeout);
    EXPECT_EQ(run(false).status, statusPortNotOpen);
    EXPECT_EQ(unavailablePortTexts, (Lines{"Текущий порт недоступен!"}));
}

// At 1200 baud the reply ends after more than 192 ms without a byte: gaps far below that keep
// one reply together, a gap far above it cuts the reply.
TEST_F(RequestEngine, TheReplyEndsWhenTheLineFallsSilentForLongerThanTheLimit)
{
    portBaud = 1200;
    repeatCount = 1;
    device.queueFault(Fault::dribble(20, 2));
    EXPECT_EQ(run(false).status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);

    waitTimer = 1000;
    device.queueFault(Fault::dribble(600, 4));
    const Outcome cut = run(false);
    EXPECT_EQ(cut.status, statusChecksumError);
    ASSERT_GE(cut.trace.size(), 2u);
    EXPECT_EQ(cut.trace[1], "Ответ через # мс: 01 03 02 00 ");
}

// Gaps half the limit (384 ms at 600 baud) below it and half above it, a reply in three pieces.
TEST_F(RequestEngine, GapsOnEitherSideOfTheSilenceLimitKeepOrCutTheReply)
{
    portBaud = 600;
    repeatCount = 1;
    device.queueFault(Fault::dribble(190, 3));
    EXPECT_EQ(run(false).status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);

    device.queueFault(Fault::dribble(580, 3));
    const Outcome cut = run(false);
    EXPECT_EQ(cut.status, statusChecksumError);
    ASSERT_GE(cut.trace.size(), 2u);
    EXPECT_EQ(cut.trace[1], "Ответ через # мс: 01 03 02 ");
    // Once the device has finished, the rest of the cut reply is stale input for the next request.
    ASSERT_TRUE(device.waitForRequests(1, 5000));
    waitForTheLineToSettle();
    EXPECT_EQ(run(false).status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);
}

// Kilobytes of noise in front of a reply, far more than the reply buffer holds. (9600 baud: a
// silence limit of 24 ms leaves the device time to write it all as one reply.)
TEST_F(RequestEngine, AFloodOfGarbageFailsOnlyTheAttemptsItSpoils)
{
    portBaud = 9600;
    Bytes noise(20000);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
    device.queueFault(Fault::garbageFirst(noise));
    const Outcome once = run(false);
    EXPECT_EQ(once.status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);
    ASSERT_GE(once.trace.size(), 3u);
    EXPECT_EQ(once.trace[2], "Ошибка CRC16");

    device.queueFault(Fault::garbageFirst(noise), 3);
    EXPECT_EQ(run(false).status, statusChecksumError);
    const Outcome after = run(false);
    EXPECT_EQ(after.status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);
}

class AsciiRequestEngine : public LinkDeviceTest {
protected:
    AsciiRequestEngine() : LinkDeviceTest({.baud = 115200, .ascii = true}) {}

    // The one-register read of holding register 0x000A at address 1, over ASCII framing.
    void connectInAscii()
    {
        device.setHoldingRegister(0x000A, 42);
        openDevicePort("ASCII");
        modbusRequest.deviceAddress = 1;
        modbusRequest.registerTable = 4;
        modbusRequest.count = 1;
        modbusRequest.startRegister = 0x000A;
    }
};

TEST_F(AsciiRequestEngine, AsciiFramesCarryTheSameRequestsAndReplies)
{
    connectInAscii();

    const std::size_t mark = traceLines().size();
    modbusRequest.startRegister = 0x000A;
    modbusRead();
    EXPECT_EQ(modbusRequest.status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);
    EXPECT_EQ(timeless(traceSince(mark)),
              (Lines{"Запрос 1: :0103000A0001F1", "Ответ через # мс: :010302002AD0", "Проверка LRC OK"}));

    modbusRequest.values[0] = 7;
    modbusWrite();
    EXPECT_EQ(modbusRequest.status, statusGood);
    EXPECT_EQ(device.holdingRegister(0x000A), 7);

    // A failed request never reports the previous one's outcome.
    repeatCount = 1;
    waitTimer = 60;
    device.queueFault(Fault::badCrc());
    modbusRead();
    EXPECT_EQ(modbusRequest.status, statusChecksumError);
    EXPECT_EQ(traceLines()[traceLines().size() - 2], "Ошибка LRC");
    device.queueFault(Fault::noReply());
    modbusRead();
    EXPECT_EQ(modbusRequest.status, statusTimeout);
}

// Gone before answering, or in the middle of the reply's line (its first bytes well on their way
// first): the wait for the first byte or for the line end stops there, long time-out or not.
TEST_F(AsciiRequestEngine, ALostPortEndsTheRequestAtOnce)
{
    Fault midLine = Fault::vanish(6);
    midLine.chunkSize = 5;
    midLine.gapMs = 50;
    struct Case {
        const char* name;
        Fault fault;
        Lines replyLines;  // what the trace may show of the reply, "" for nothing
    };
    const Case cases[] = {
        {"before answering", Fault::vanish(0), {""}},
        // The sixth byte goes out just before the loss: a busy machine may read it as well.
        {"mid-line", midLine, {"Ответ через # мс: :0103", "Ответ через # мс: :01030"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device.stop();
        ASSERT_TRUE(device.start());
        connectInAscii();
        unavailablePortTexts.clear();
        waitTimer = 3000;
        device.queueFault(c.fault);
        const std::size_t mark = traceLines().size();
        const std::int64_t start = sysclock::milliseconds();
        modbusRead();
        EXPECT_LT(sysclock::milliseconds() - start, 1000);
        EXPECT_EQ(modbusRequest.status, statusPortNotOpen);
        EXPECT_EQ(unavailablePortTexts, (Lines{"Текущий порт недоступен!"}));
        const Lines trace = timeless(traceSince(mark));
        ASSERT_FALSE(trace.empty());
        EXPECT_EQ(trace[0], "Запрос 1: :0103000A0001F1");
        const std::string replyLine = trace.size() > 1 ? trace[1] : "";
        EXPECT_NE(std::find(c.replyLines.begin(), c.replyLines.end(), replyLine), c.replyLines.end()) << replyLine;
        EXPECT_TRUE(requestLinesEndAtTheLoss(trace, 1)) << requestLineCount(trace);
    }
}

// An ASCII reply ends where the buffer does: the rest of the noise waits on the line as stale
// input, which the next requests drop before they are sent.
TEST_F(AsciiRequestEngine, AFloodOfGarbageFailsOnlyTheAttemptsItSpoils)
{
    connectInAscii();
    Bytes noise(4000);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
    device.queueFault(Fault::garbageFirst(noise));
    modbusRead();
    EXPECT_EQ(modbusRequest.status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);

    device.clearRequests();
    device.queueFault(Fault::garbageFirst(noise), 3);
    modbusRead();
    EXPECT_EQ(modbusRequest.status, statusChecksumError);
    ASSERT_TRUE(device.waitForRequests(3, 5000));
    waitForTheLineToSettle();
    modbusRead();
    EXPECT_EQ(modbusRequest.status, statusGood);
    EXPECT_EQ(modbusRequest.values[0], 42);
}

// A late answer serves a further attempt of its own request, or the request itself after its last
// attempt, which asks the same; it never passes for a later request's reply, not even where the
// reply names no register (reads) or a write echo repeats a value. Every request gets its own.
class LateDevice : public LinkDeviceTest, public ::testing::WithParamInterface<Lateness> {
protected:
    static constexpr std::uint16_t firstRegister = 0x0010;
    static constexpr int registers = 3;

    LateDevice() : LinkDeviceTest(GetParam().deviceOptions()) {}

    void SetUp() override
    {
        LinkDeviceTest::SetUp();
        openDevicePort(GetParam().framing.c_str());
        for (int r = 0; r < registers; ++r)
            device.setHoldingRegister(static_cast<std::uint16_t>(firstRegister + r), ownValue(r));
        GetParam().applyTo(device);
        modbusRequest.deviceAddress = 1;
        modbusRequest.registerTable = 4;
        modbusRequest.count = 1;
    }

    static std::uint16_t ownValue(int r) { return static_cast<std::uint16_t>(0x0100 + r); }

    // Reads register r, or writes 7 to it: the request succeeds with its own answer, a read the
    // register's value, a write the echo of its own frame.
    void expectOwnAnswer(int r, bool write)
    {
        const std::size_t mark = traceLines().size();
        const auto address = static_cast<std::uint16_t>(firstRegister + r);
        modbusRequest.startRegister = address;
        modbusRequest.values[0] = write ? 7 : 0xBEEF;
        if (write)
            modbusWrite();
        else
            modbusRead();
        const Lines trace = traceSince(mark);
        std::string shown;
        for (const std::string& line : trace)
            shown += "\n  " + line;
        SCOPED_TRACE((write ? "write to " : "read of ") + std::to_string(address) + ", trace:" + shown);
        ASSERT_EQ(modbusRequest.status, statusGood);
        if (write) {
            EXPECT_TRUE(isOwnEcho(lastLineAfter(trace, "Ответ через "), lastLineAfter(trace, "Запрос ")));
            EXPECT_EQ(device.holdingRegister(address), 7);
        } else {
            EXPECT_EQ(modbusRequest.values[0], device.holdingRegister(address));
        }
        // An answer is timed from the frame it answers, which the device took at least its lowest
        // latency to answer (less a moment: the frame is timed once the driver has sent it).
        const int lowest = GetParam().latencyMs - GetParam().swingMs - GetParam().waitTimerMs / 2;
        const std::string replyPrefix = "Ответ через ";
        for (const std::string& line : trace) {
            if (line.rfind(replyPrefix, 0) == 0) {
                EXPECT_GE(std::stoi(line.substr(replyPrefix.size())), lowest) << line;
            }
        }
    }

    // The text after the last line of the trace that starts with `prefix`.
    static std::string lastLineAfter(const Lines& trace, const std::string& prefix)
    {
        for (auto line = trace.rbegin(); line != trace.rend(); ++line)
            if (line->rfind(prefix, 0) == 0)
                return line->substr(line->find(':', prefix.size()) + 2);
        return {};
    }
};

TEST_P(LateDevice, EveryRequestGetsItsOwnAnswer)
{
    for (int r = 0; r < registers; ++r)
        expectOwnAnswer(r, false);
    // The same value to each register: only the register tells one echo from another.
    for (int r = 0; r < registers; ++r)
        expectOwnAnswer(r, true);
    for (int r = 0; r < registers; ++r)
        expectOwnAnswer(r, false);
}

INSTANTIATE_TEST_SUITE_P(Latencies, LateDevice, ::testing::ValuesIn(latenesses()), latenessName);

// One attempt, answered just after its time-out: the answer is still the request's own, and none
// of the answers passes for the next request's.
TEST_F(RequestEngine, AnAnswerJustAfterTheOnlyAttemptsTimeOutIsStillItsOwn)
{
    repeatCount = 1;
    waitTimer = 100;
    device.setAnswerDelay(waitTimer + 20);
    modbusRequest.deviceAddress = 1;
    modbusRequest.registerTable = 4;
    modbusRequest.count = 1;
    for (std::uint16_t r = 0; r < 3; ++r)
        device.setHoldingRegister(static_cast<std::uint16_t>(0x0010 + r), static_cast<std::uint16_t>(0x0100 + r));
    for (std::uint16_t r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        const std::size_t mark = traceLines().size();
        modbusRequest.startRegister = static_cast<std::uint16_t>(0x0010 + r);
        modbusRead();
        EXPECT_EQ(modbusRequest.status, statusGood);
        EXPECT_EQ(modbusRequest.values[0], 0x0100 + r);
        const Lines trace = timeless(traceSince(mark));
        ASSERT_GE(trace.size(), 3u);
        EXPECT_EQ(trace.back(), "Проверка CRC16 OK");
    }
}

}  // namespace
