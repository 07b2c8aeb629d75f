#include "tests/support/simulated_device.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <modbus.h>
#include <poll.h>
#include <pthread.h>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

// Deliberately self-contained: the checksums and the ASCII codec here are written apart from the
// program's own, so that a fault in those cannot hide itself by agreeing with the device.

namespace {

constexpr int requestGapMs = 20;        // silence that ends a request whose length is not known
constexpr std::size_t requestLimit = 1024;
constexpr int lineWriteLimitMs = 2000;

modbus_t* modbusContext(void* context) { return static_cast<modbus_t*>(context); }
modbus_mapping_t* modbusMapping(void* mapping) { return static_cast<modbus_mapping_t*>(mapping); }

std::uint16_t crc16(const Bytes& bytes)
{
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int i = 0; i < 8; ++i)
            crc = static_cast<std::uint16_t>((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
    }
    return crc;
}

void appendCrc(Bytes& bytes)
{
    const std::uint16_t crc = crc16(bytes);
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
}

std::uint8_t lrc(const Bytes& bytes)
{
    unsigned sum = 0;
    for (std::uint8_t byte : bytes)
        sum += byte;
    return static_cast<std::uint8_t>((0x100 - (sum & 0xFF)) & 0xFF);
}

void appendHex(Bytes& text, std::uint8_t byte)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    text.push_back(static_cast<std::uint8_t>(digits[byte >> 4]));
    text.push_back(static_cast<std::uint8_t>(digits[byte & 15]));
}

Bytes asciiFrame(const Bytes& body, bool withLrc, int lrcOffset)
{
    Bytes text{':'};
    for (std::uint8_t byte : body)
        appendHex(text, byte);
    if (withLrc)
        appendHex(text, static_cast<std::uint8_t>(lrc(body) + lrcOffset));
    text.push_back('\r');
    text.push_back('\n');
    return text;
}

// The binary body of an ASCII request (without its LRC), or nothing when it is not a good frame.
std::optional<Bytes> asciiBody(const Bytes& text)
{
    const auto colon = std::find(text.begin(), text.end(), ':');
    if (colon == text.end())
        return std::nullopt;
    Bytes bytes;
    auto at = colon + 1;
    auto digit = [](std::uint8_t c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    while (at != text.end() && *at != '\r') {
        if (at + 1 == text.end() || digit(*at) < 0 || digit(*(at + 1)) < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(digit(*at) * 16 + digit(*(at + 1))));
        at += 2;
    }
    if (at == text.end() || at + 1 == text.end() || *(at + 1) != '\n' || bytes.size() < 3)
        return std::nullopt;
    unsigned sum = 0;
    for (std::uint8_t byte : bytes)
        sum += byte;
    if ((sum & 0xFF) != 0)
        return std::nullopt;
    bytes.pop_back();
    return bytes;
}

// Length of an RTU request as its function code tells it; 0 while that is not yet known.
std::size_t expectedRtuLength(const Bytes& frame)
{
    if (frame.size() < 2)
        return 0;
    const std::uint8_t function = frame[1];
    if (function >= 1 && function <= 6)
        return 8;
    if ((function == 15 || function == 16) && frame.size() >= 7)
        return 9 + std::size_t{frame[6]};
    return 0;
}

void drain(int fd)
{
    std::array<std::uint8_t, 512> scratch;
    while (fd >= 0 && ::read(fd, scratch.data(), scratch.size()) > 0) {
    }
}

void setNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

std::int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

Fault Fault::noReply()
{
    Fault f;
    f.silent = true;
    return f;
}

Fault Fault::badCrc()
{
    Fault f;
    f.corruptChecksum = true;
    return f;
}

Fault Fault::otherAddress(int address)
{
    Fault f;
    f.replyAddress = address;
    return f;
}

Fault Fault::exception(int code)
{
    Fault f;
    f.exceptionCode = code;
    return f;
}

Fault Fault::deviceError(std::uint16_t code, std::uint16_t registerNumber, int function)
{
    Fault f;
    f.errorReply = true;
    f.errorCode = code;
    f.errorRegister = registerNumber;
    f.errorFunction = function;
    return f;
}

Fault Fault::replaceWith(Bytes bytes, bool appendChecksum)
{
    Fault f;
    f.replacement = std::move(bytes);
    f.replacementChecksum = appendChecksum;
    return f;
}

Fault Fault::garbageFirst(Bytes bytes)
{
    Fault f;
    f.garbageBefore = std::move(bytes);
    return f;
}

Fault Fault::overLong(int lineBytes)
{
    Fault f;
    f.totalLength = lineBytes;
    return f;
}

Fault Fault::delayed(int ms)
{
    Fault f;
    f.delayMs = ms;
    return f;
}

Fault Fault::dribble(int gapMs, int chunkSize)
{
    Fault f;
    f.gapMs = gapMs;
    f.chunkSize = chunkSize;
    return f;
}

Fault Fault::vanish(int afterBytes)
{
    Fault f;
    f.vanishAfter = afterBytes;
    return f;
}

SimulatedDevice::SimulatedDevice(DeviceOptions options) : settings(options) {}

SimulatedDevice::~SimulatedDevice()
{
    stop();
    releaseTerminalNumber();
}

bool SimulatedDevice::start()
{
    if (worker.joinable() || lineFd >= 0)
        return false;
    {
        std::lock_guard guard(lock);
        gone = false;
        faults.clear();
        answerDelayMs = 0;
        answerLatencyMs = 0;
        answerSwingMs = 0;
    }
    pending.clear();
    nextRequestStart.clear();
    releaseTerminalNumber();
    termios raw{};
    cfmakeraw(&raw);
    std::array<char, 128> name{};
    if (openpty(&lineFd, &terminalFd, name.data(), &raw, nullptr) != 0)
        return false;
    terminalPath = name.data();
    fcntl(lineFd, F_SETFD, FD_CLOEXEC);
    fcntl(terminalFd, F_SETFD, FD_CLOEXEC);
    setNonBlocking(lineFd);

    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0 || pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        stop();
        return false;
    }
    libmodbusFd = pair[0];
    relayFd = pair[1];
    setNonBlocking(relayFd);

    // libmodbus never opens the terminal itself: it talks through the socket, and this class
    // carries requests and answers between the socket and the line, spoiling them on demand.
    modbus_t* modbus = modbus_new_rtu(terminalPath.c_str(), static_cast<int>(settings.baud), settings.parity,
                                      settings.dataBits, settings.stopBits);
    modbus_mapping_t* tables = modbus_mapping_new(65536, 65536, 65536, 65536);
    context = modbus;
    mapping = tables;
    if (!modbus || !tables) {
        stop();
        return false;
    }
    modbus_set_slave(modbus, settings.address);
    modbus_set_socket(modbus, libmodbusFd);
    modbus_set_byte_timeout(modbus, 0, 100000);
    modbus_set_indication_timeout(modbus, 0, 500000);
    worker = std::thread(&SimulatedDevice::run, this);
    workerClockValid = pthread_getcpuclockid(worker.native_handle(), &workerClock) == 0;
    return true;
}

void SimulatedDevice::stop()
{
    if (worker.joinable()) {
        const char quit = 'q';
        [[maybe_unused]] ssize_t ignored = ::write(wakeFds[1], &quit, 1);
        worker.join();
    }
    closeLine();
    for (int* fd : {&libmodbusFd, &relayFd, &wakeFds[0], &wakeFds[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    if (context) {
        modbus_set_socket(modbusContext(context), -1);
        modbus_free(modbusContext(context));
    }
    if (mapping)
        modbus_mapping_free(modbusMapping(mapping));
    context = nullptr;
    mapping = nullptr;
}

void SimulatedDevice::setCoil(std::uint16_t address, bool on)
{
    std::lock_guard guard(lock);
    if (mapping)
        modbusMapping(mapping)->tab_bits[address] = on ? 1 : 0;
}

void SimulatedDevice::setDiscreteInput(std::uint16_t address, bool on)
{
    std::lock_guard guard(lock);
    if (mapping)
        modbusMapping(mapping)->tab_input_bits[address] = on ? 1 : 0;
}

void SimulatedDevice::setHoldingRegister(std::uint16_t address, std::uint16_t value)
{
    std::lock_guard guard(lock);
    if (mapping)
        modbusMapping(mapping)->tab_registers[address] = value;
}

void SimulatedDevice::setInputRegister(std::uint16_t address, std::uint16_t value)
{
    std::lock_guard guard(lock);
    if (mapping)
        modbusMapping(mapping)->tab_input_registers[address] = value;
}

bool SimulatedDevice::coil(std::uint16_t address) const
{
    std::lock_guard guard(lock);
    return mapping && modbusMapping(mapping)->tab_bits[address] != 0;
}

std::uint16_t SimulatedDevice::holdingRegister(std::uint16_t address) const
{
    std::lock_guard guard(lock);
    return mapping ? modbusMapping(mapping)->tab_registers[address] : 0;
}

void SimulatedDevice::queueFault(const Fault& fault, int requests)
{
    std::lock_guard guard(lock);
    if (requests > 0)
        faults.push_back({fault, requests});
}

void SimulatedDevice::clearFaults()
{
    std::lock_guard guard(lock);
    faults.clear();
}

void SimulatedDevice::setAnswerDelay(int ms, int swingMs)
{
    std::lock_guard guard(lock);
    answerDelayMs = ms;
    answerSwingMs = swingMs;
    swungAnswers = 0;
}

void SimulatedDevice::setAnswerLatency(int ms, int swingMs)
{
    std::lock_guard guard(lock);
    answerLatencyMs = ms;
    answerSwingMs = swingMs;
    swungAnswers = 0;
}

std::vector<Bytes> SimulatedDevice::requests() const
{
    std::lock_guard guard(lock);
    return receivedRequests;
}

std::vector<Bytes> SimulatedDevice::answers() const
{
    std::lock_guard guard(lock);
    return sentAnswers;
}

std::vector<std::chrono::steady_clock::time_point> SimulatedDevice::requestTimes() const
{
    std::lock_guard guard(lock);
    return receivedTimes;
}

std::vector<std::chrono::steady_clock::time_point> SimulatedDevice::answerTimes() const
{
    std::lock_guard guard(lock);
    return sentTimes;
}

void SimulatedDevice::clearRequests()
{
    std::lock_guard guard(lock);
    receivedRequests.clear();
    receivedTimes.clear();
    sentTimes.clear();
    sentAnswers.clear();
    handledRequests = 0;
}

bool SimulatedDevice::waitForRequests(std::size_t count, int timeoutMs) const
{
    std::unique_lock guard(lock);
    return progress.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return handledRequests >= count; });
}

void SimulatedDevice::sendUnasked(const Bytes& bytes) { send(bytes, Fault{}); }

void SimulatedDevice::vanish()
{
    if (!worker.joinable()) {
        closeLine();
        return;
    }
    const char leave = 'v';
    [[maybe_unused]] ssize_t ignored = ::write(wakeFds[1], &leave, 1);
    std::unique_lock guard(lock);
    progress.wait_for(guard, std::chrono::seconds(5), [&] { return gone; });
}

bool SimulatedDevice::vanished() const
{
    std::lock_guard guard(lock);
    return gone;
}

termios SimulatedDevice::lineSettings() const
{
    termios settingsNow{};
    if (terminalFd >= 0)
        tcgetattr(terminalFd, &settingsNow);
    return settingsNow;
}

double SimulatedDevice::answeringCpuMs() const
{
    timespec used{};
    if (!worker.joinable() || !workerClockValid || clock_gettime(workerClock, &used) != 0)
        return 0;
    return static_cast<double>(used.tv_sec) * 1000.0 + static_cast<double>(used.tv_nsec) / 1e6;
}

void SimulatedDevice::run()
{
    while (lineFd >= 0) {
        deliverDueAnswers();
        if (!nextRequestStart.empty()) {
            handle(collectRequest());
            continue;
        }
        pollfd watch[2] = {{lineFd, POLLIN, 0}, {wakeFds[0], POLLIN, 0}};
        const int ready = poll(watch, 2, msUntilNextDue());
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (ready == 0)
            continue;
        if (watch[1].revents & POLLIN) {
            char command = 0;
            if (::read(wakeFds[0], &command, 1) == 1 && command == 'v') {
                closeLine();
                continue;
            }
            return;
        }
        if (watch[0].revents & POLLIN) {
            const Bytes request = collectRequest();
            if (!request.empty())
                handle(request);
        } else if (watch[0].revents & (POLLHUP | POLLERR)) {
            // Nobody holds the far end for a moment; do not spin on it.
            poll(watch + 1, 1, 1);
        }
    }
}

int SimulatedDevice::msUntilNextDue() const
{
    if (pending.empty())
        return -1;
    using namespace std::chrono;
    const auto left = duration_cast<microseconds>(pending.front().due - steady_clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>((left + 999) / 1000);
}

void SimulatedDevice::deliverDueAnswers()
{
    while (!pending.empty() && pending.front().due <= std::chrono::steady_clock::now()) {
        const PendingAnswer answer = std::move(pending.front());
        pending.pop_front();
        deliver(answer.line, answer.fault);
        countHandled();
    }
}

Bytes SimulatedDevice::collectRequest()
{
    Bytes frame = std::move(nextRequestStart);
    nextRequestStart.clear();
    for (;;) {
        std::array<std::uint8_t, 512> chunk;
        const ssize_t got = ::read(lineFd, chunk.data(), chunk.size());
        if (got > 0) {
            const std::size_t room = requestLimit - frame.size();
            const auto taken = static_cast<long>(std::min(std::size_t(got), room));
            frame.insert(frame.end(), chunk.begin(), chunk.begin() + taken);
        }
        const auto lineEnd = std::find(frame.begin(), frame.end(), '\n');
        const std::size_t length = settings.ascii ? (lineEnd == frame.end() ? 0 : std::size_t(lineEnd - frame.begin()) + 1)
                                                  : expectedRtuLength(frame);
        if (length != 0 && frame.size() >= length) {
            // Requests sent while the device was busy arrive back to back: each is one request.
            nextRequestStart.assign(frame.begin() + static_cast<long>(length), frame.end());
            frame.resize(length);
            return frame;
        }
        pollfd more{lineFd, POLLIN, 0};
        if (poll(&more, 1, requestGapMs) <= 0 || !(more.revents & POLLIN))
            return frame;
    }
}

void SimulatedDevice::handle(const Bytes& lineRequest)
{
    Fault fault;
    int latencyMs = 0;
    const auto arrived = std::chrono::steady_clock::now();
    {
        std::lock_guard guard(lock);
        receivedRequests.push_back(lineRequest);
        receivedTimes.push_back(arrived);
        if (!faults.empty()) {
            fault = faults.front().fault;
            if (--faults.front().remaining == 0)
                faults.pop_front();
        }
        const int swing = std::array{0, answerSwingMs, -answerSwingMs}[swungAnswers++ % 3];
        if (answerDelayMs > 0)
            fault.delayMs += answerDelayMs + swing;
        if (answerLatencyMs > 0)
            latencyMs = answerLatencyMs + swing;
    }
    const std::optional<Bytes> line = answerTo(lineRequest, fault);
    if (line && latencyMs > 0) {
        PendingAnswer answer{arrived + std::chrono::milliseconds(latencyMs + fault.delayMs), *line, fault};
        answer.fault.delayMs = 0;
        const auto at = std::upper_bound(pending.begin(), pending.end(), answer.due,
                                         [](auto due, const PendingAnswer& other) { return due < other.due; });
        pending.insert(at, std::move(answer));
        return;
    }
    if (line)
        deliver(*line, fault);
    countHandled();
}

// The answer as it goes on the line, or nothing for a request left unanswered.
std::optional<Bytes> SimulatedDevice::answerTo(const Bytes& lineRequest, const Fault& fault)
{
    Bytes rtuRequest = lineRequest;
    if (settings.ascii) {
        const std::optional<Bytes> body = asciiBody(lineRequest);
        rtuRequest = body ? *body : Bytes{};
        if (body)
            appendCrc(rtuRequest);
    }
    const bool wellFormed = rtuRequest.size() >= 4 && crc16(rtuRequest) == 0;
    const bool forUs = wellFormed && rtuRequest[0] == settings.address;

    std::optional<Bytes> body;  // the answer without its checksum
    if (fault.silent) {
    } else if (fault.replacement) {
        body = *fault.replacement;
    } else if (fault.exceptionCode >= 0) {
        if (forUs)
            body = Bytes{rtuRequest[0], static_cast<std::uint8_t>(rtuRequest[1] | 0x80),
                         static_cast<std::uint8_t>(fault.exceptionCode)};
    } else if (fault.errorReply) {
        if (forUs) {
            const int function = fault.errorFunction >= 0 ? fault.errorFunction : rtuRequest[1] | 0x80;
            body = Bytes{rtuRequest[0],
                         static_cast<std::uint8_t>(function),
                         static_cast<std::uint8_t>(fault.errorRegister >> 8),
                         static_cast<std::uint8_t>(fault.errorRegister & 0xFF),
                         static_cast<std::uint8_t>(fault.errorCode >> 8),
                         static_cast<std::uint8_t>(fault.errorCode & 0xFF)};
        }
    } else if (forUs || (wellFormed && rtuRequest[0] == 0)) {
        Bytes answer = answerFromLibmodbus(rtuRequest);
        if (answer.size() >= 4) {
            answer.resize(answer.size() - 2);
            body = answer;
        }
    }

    if (body) {
        if (fault.replyAddress >= 0 && !body->empty())
            (*body)[0] = static_cast<std::uint8_t>(fault.replyAddress);
        const bool checksum = !fault.replacement || fault.replacementChecksum;
        if (fault.totalLength > 0) {
            // Pad the body so that the whole frame on the line reaches totalLength bytes.
            const auto total = std::size_t(std::max(fault.totalLength, 5));
            const std::size_t target = settings.ascii ? (total - 5 + 1) / 2 : total - (checksum ? 2 : 0);
            if (body->size() < target)
                body->resize(target, 0x55);
        }
        Bytes line = fault.garbageBefore;
        Bytes frame;
        if (settings.ascii) {
            frame = asciiFrame(*body, checksum, fault.corruptChecksum ? 1 : 0);
        } else {
            frame = *body;
            if (checksum)
                appendCrc(frame);
            if (fault.corruptChecksum && !frame.empty())
                frame.back() ^= 0xFF;
        }
        line.insert(line.end(), frame.begin(), frame.end());
        return line;
    }
    return std::nullopt;
}

void SimulatedDevice::deliver(const Bytes& line, const Fault& fault)
{
    {
        std::lock_guard guard(lock);
        sentAnswers.push_back(line);
    }
    send(line, fault);
    {
        std::lock_guard guard(lock);
        sentTimes.push_back(std::chrono::steady_clock::now());
    }
}

void SimulatedDevice::countHandled()
{
    {
        std::lock_guard guard(lock);
        ++handledRequests;
    }
    progress.notify_all();
}

Bytes SimulatedDevice::answerFromLibmodbus(const Bytes& rtuRequest)
{
    drain(relayFd);
    if (::write(relayFd, rtuRequest.data(), rtuRequest.size()) != ssize_t(rtuRequest.size()))
        return {};
    std::array<std::uint8_t, MODBUS_RTU_MAX_ADU_LENGTH> query{};
    const int received = modbus_receive(modbusContext(context), query.data());
    if (received > 0) {
        std::lock_guard guard(lock);
        modbus_reply(modbusContext(context), query.data(), received, modbusMapping(mapping));
    }
    // Whatever libmodbus did not take belongs to no request.
    fcntl(libmodbusFd, F_SETFL, fcntl(libmodbusFd, F_GETFL) | O_NONBLOCK);
    drain(libmodbusFd);
    fcntl(libmodbusFd, F_SETFL, fcntl(libmodbusFd, F_GETFL) & ~O_NONBLOCK);

    Bytes answer;
    std::array<std::uint8_t, 512> chunk;
    for (ssize_t got; (got = ::read(relayFd, chunk.data(), chunk.size())) > 0;)
        answer.insert(answer.end(), chunk.begin(), chunk.begin() + got);
    return answer;
}

void SimulatedDevice::send(const Bytes& lineBytes, const Fault& fault)
{
    // Pauses end early when the test stops the device.
    auto pause = [&](int ms) {
        pollfd wake{wakeFds[0], POLLIN, 0};
        return wakeFds[0] < 0 || poll(&wake, 1, ms) == 0;
    };
    if (fault.delayMs > 0 && !pause(fault.delayMs))
        return;
    const std::size_t limit =
        fault.vanishAfter >= 0 ? std::min(lineBytes.size(), std::size_t(fault.vanishAfter)) : lineBytes.size();
    const std::size_t chunk =
        fault.gapMs > 0 ? std::size_t(std::max(fault.chunkSize, 1)) : std::max<std::size_t>(limit, 1);
    for (std::size_t at = 0; at < limit; at += chunk) {
        if (at > 0 && fault.gapMs > 0 && !pause(fault.gapMs))
            return;
        std::lock_guard guard(lineWrite);
        const std::size_t end = std::min(limit, at + chunk);
        const std::int64_t deadline = nowMs() + lineWriteLimitMs;
        for (std::size_t put = at; put < end && lineFd >= 0 && nowMs() < deadline;) {
            const ssize_t wrote = ::write(lineFd, lineBytes.data() + put, end - put);
            if (wrote > 0) {
                put += std::size_t(wrote);
            } else {
                pollfd room{lineFd, POLLOUT, 0};
                poll(&room, 1, 10);
            }
        }
    }
    if (fault.vanishAfter >= 0)
        closeLine();
}

void SimulatedDevice::closeLine()
{
    {
        std::lock_guard guard(lineWrite);
        if (lineFd >= 0)
            ::close(lineFd);
        lineFd = -1;
    }
    {
        std::lock_guard guard(lock);
        gone = true;
    }
    progress.notify_all();
}

void SimulatedDevice::releaseTerminalNumber()
{
    if (terminalFd >= 0)
        ::close(terminalFd);
    terminalFd = -1;
}
