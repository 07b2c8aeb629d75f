#pragma once
// A Modbus device on a pseudo-terminal for tests. The program under test opens path() like a
// serial port; a background thread answers on the other end. The answers come from libmodbus (an
// independent slave implementation) serving the registers a test sets; faults queued by the test
// then spoil, delay, cut or replace those answers. Every request frame that arrives is recorded.
//
//   SimulatedDevice device({.baud = 9600, .address = 1});
//   ASSERT_TRUE(device.start());
//   device.setHoldingRegister(0x5504, 18000);
//   device.queueFault(Fault::noReply(), 2);    // the next two requests go unanswered
//   ... open device.path() with serial::open, send, receive ...
//   EXPECT_EQ(device.requests().at(0), expectedFrame);

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <termios.h>
#include <time.h>

using Bytes = std::vector<std::uint8_t>;

struct DeviceOptions {
    std::uint32_t baud = 9600;
    char parity = 'N';  // 'N', 'E' or 'O'
    int dataBits = 8;
    int stopBits = 1;
    int address = 1;     // requests for other addresses are ignored, as on a shared line
    bool ascii = false;  // Modbus ASCII framing on the line instead of RTU
};

// What happens to the answer of one request. A default Fault changes nothing; the factories give
// the usual cases, and fields may be combined (a delayed dribble, garbage before a bad CRC).
struct Fault {
    bool silent = false;             // no answer at all
    bool corruptChecksum = false;    // the CRC (LRC in ASCII) of the answer is wrong
    int replyAddress = -1;           // answer from this address instead, checksum valid
    int exceptionCode = -1;          // answer: address, function | 0x80, this code
    bool errorReply = false;         // answer: address, errorFunction, errorRegister, errorCode
    std::uint16_t errorRegister = 0xFF01;
    std::uint16_t errorCode = 0;
    int errorFunction = -1;              // -1: the request's function | 0x80
    std::optional<Bytes> replacement;    // answer these bytes instead
    bool replacementChecksum = true;     // append the checksum to the replacement
    Bytes garbageBefore;                 // sent in front of the answer, in the same write
    int totalLength = 0;                 // pad the answer with 0x55 to this many line bytes, checksum valid
    int delayMs = 0;                     // wait before the first byte
    int gapMs = 0;                       // send in chunks of chunkSize with this pause between them
    int chunkSize = 1;
    int vanishAfter = -1;                // send this many answer bytes, then the device disappears

    static Fault noReply();
    static Fault badCrc();
    static Fault otherAddress(int address);
    static Fault exception(int code);
    static Fault deviceError(std::uint16_t code, std::uint16_t registerNumber = 0xFF01, int function = -1);
    static Fault replaceWith(Bytes bytes, bool appendChecksum = true);
    static Fault garbageFirst(Bytes bytes);
    static Fault overLong(int lineBytes = 300);
    static Fault delayed(int ms);
    static Fault dribble(int gapMs, int chunkSize = 1);
    static Fault vanish(int afterBytes = 0);
};

class SimulatedDevice {
public:
    explicit SimulatedDevice(DeviceOptions options = {});
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    // Creates the terminal pair and starts answering; false when the pair cannot be made. After
    // stop() it starts afresh: a new terminal path, empty tables, no faults.
    bool start();
    // Stops answering and removes the terminal (also done by the destructor). Its number stays
    // taken until the next start() or the destructor, so that path() stays dead meanwhile: a pair
    // another test makes would otherwise get the number, and a look at path() would find that.
    void stop();

    // The terminal path the program opens as its serial port.
    const std::string& path() const { return terminalPath; }
    const DeviceOptions& options() const { return settings; }

    // Register tables, addresses 0-65535 each.
    void setCoil(std::uint16_t address, bool on);
    void setDiscreteInput(std::uint16_t address, bool on);
    void setHoldingRegister(std::uint16_t address, std::uint16_t value);
    void setInputRegister(std::uint16_t address, std::uint16_t value);
    bool coil(std::uint16_t address) const;
    std::uint16_t holdingRegister(std::uint16_t address) const;

    // The fault applies to the next `requests` requests, after the faults already queued.
    void queueFault(const Fault& fault, int requests = 1);
    void clearFaults();
    // From now on every answer waits this long before its first byte, as a slow device does; a
    // fault's own delay comes on top. Like a real device it takes one request at a time: what the
    // program sends meanwhile waits on the line and is answered in turn, just as late.
    // With a swing the time varies as a device's load does: ms, ms + swing, ms - swing, in turn.
    void setAnswerDelay(int ms, int swingMs = 0);
    // From now on every request is answered this long after it arrived, whatever else the device
    // is doing (a constant latency, as of a gateway that passes each frame on at once): requests
    // sent meanwhile are taken at once and answered each its own delay after itself. A swing
    // varies it as for setAnswerDelay.
    void setAnswerLatency(int ms, int swingMs = 0);

    // Every request as it arrived on the line (ASCII text in ASCII mode), oldest first, and every
    // answer as it was put on the line.
    std::vector<Bytes> requests() const;
    std::vector<Bytes> answers() const;
    // When each request of requests() was complete on the line, and when each answer of answers()
    // had been put on it (benchmarks take the gaps from them; an answer's time comes a moment after
    // the answer itself).
    std::vector<std::chrono::steady_clock::time_point> requestTimes() const;
    std::vector<std::chrono::steady_clock::time_point> answerTimes() const;
    void clearRequests();
    // True once `count` requests have been answered (or left unanswered), within `timeoutMs`.
    // The terminal delivers written bytes a moment later: wait for them on the port, not here.
    bool waitForRequests(std::size_t count, int timeoutMs) const;

    // Puts bytes on the line now, unasked (stale input for the program).
    void sendUnasked(const Bytes& bytes);
    // The device disappears now, as an unplugged adapter does.
    void vanish();
    bool vanished() const;

    // The line settings the program put on its end of the terminal.
    termios lineSettings() const;

    // CPU time the answering thread has used, in ms, so that a benchmark can tell the program's
    // own CPU time from the device's.
    double answeringCpuMs() const;

private:
    struct QueuedFault {
        Fault fault;
        int remaining;
    };

    void run();
    Bytes collectRequest();
    struct PendingAnswer {
        std::chrono::steady_clock::time_point due;
        Bytes line;
        Fault fault;
    };

    void handle(const Bytes& lineRequest);
    std::optional<Bytes> answerTo(const Bytes& lineRequest, const Fault& fault);
    void deliver(const Bytes& line, const Fault& fault);
    void deliverDueAnswers();
    int msUntilNextDue() const;
    void countHandled();
    Bytes answerFromLibmodbus(const Bytes& rtuRequest);
    void send(const Bytes& lineBytes, const Fault& fault);
    void closeLine();
    void releaseTerminalNumber();

    DeviceOptions settings;
    std::string terminalPath;
    int lineFd = -1;      // our end of the terminal pair
    int terminalFd = -1;  // the far end, kept open so the terminal lives while the program is away
                          // and its number stays taken once the device has vanished
    int libmodbusFd = -1;  // libmodbus reads requests and writes answers here
    int relayFd = -1;      // ... and we talk to it through this end
    int wakeFds[2] = {-1, -1};
    void* context = nullptr;  // modbus_t
    void* mapping = nullptr;  // modbus_mapping_t

    mutable std::mutex lock;
    mutable std::condition_variable progress;
    std::mutex lineWrite;
    std::deque<QueuedFault> faults;
    int answerDelayMs = 0;
    int answerLatencyMs = 0;
    int answerSwingMs = 0;
    unsigned swungAnswers = 0;  // requests taken since the swing was set
    std::deque<PendingAnswer> pending;  // by due time; the worker's own
    Bytes nextRequestStart;  // what came after the last request taken, read with it
    std::vector<Bytes> receivedRequests;
    std::vector<std::chrono::steady_clock::time_point> receivedTimes;
    std::vector<std::chrono::steady_clock::time_point> sentTimes;
    std::vector<Bytes> sentAnswers;
    std::size_t handledRequests = 0;
    bool gone = false;
    std::thread worker;
    clockid_t workerClock{};
    bool workerClockValid = false;
};
