// The request engine's reply checks on arbitrary reply bytes. The bytes go straight into
// incomingBuffer, where the line reader leaves them, and the engine's check step runs on them. A
// pseudo-terminal would add only the timing of the exchange, which the link's fault tests cover
// against the simulated device, and would cost every input milliseconds of line silence.
//
// Input: flags (bit 0 write, bit 1 ASCII, bits 2-3 the error rows of the description), register
// table, count, device address, then the reply as it came off the line. Bytes beyond the buffer
// mark the reply as overflowing, as the line reader does.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "description/description_store.h"
#include "link/link_buffers.h"
#include "link/modbus_frames.h"
#include "link/modbus_request.h"
#include "link/modbus_status.h"
#include "link/reply_checks.h"

namespace {

void addErrorRow(std::uint16_t kind, std::uint16_t registerNumber, std::uint16_t compareMode, std::uint16_t code)
{
    deviceErrorCodes.append() = DeviceErrorCode{kind, registerNumber, compareMode, code, "Ошибка устройства"};
}

// The shapes descriptions give: none, the standard exception row, device-error rows (one with a
// compare mode the walk passes over) ended by an end-of-walk row, device-error rows then the
// exception row.
void useErrorRows(int shape)
{
    deviceErrorCodes.clear();
    if (shape == 1)
        addErrorRow(errorKindException, 0, 0, 0);
    if (shape >= 2) {
        addErrorRow(errorKindDeviceError, 0xFF01, 2, 1);
        addErrorRow(errorKindDeviceError, 0xFF01, 1, 2);
        addErrorRow(errorKindDeviceError, 0xFF01, 2, 5);
        addErrorRow(shape == 2 ? errorKindEndOfWalk : errorKindException, 0, 0, 0);
    }
}

bool knownStatus(std::uint16_t status)
{
    return status == statusGood || status == statusChecksumError || status == statusWrongEcho ||
           status == statusWrongAddress || status == statusWrongFunction || status == statusMalformedReply ||
           status == statusDeviceError ||
           (status > statusExceptionBase && status <= statusExceptionBase + 8);
}

// A good RTU read reply states the data bytes the request asks for and carries them before its CRC.
bool rtuReadCarriesItsData(int replyLength)
{
    const std::uint8_t function = outgoingBuffer[1];
    const int expected = function == 1 || function == 2 ? (modbusRequest.count + 7) / 8 : 2 * modbusRequest.count;
    return replyLength - 2 >= 3 + expected && incomingBuffer[2] == expected;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    allocateLinkBuffers();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t head = 4;
    if (size < head)
        return 0;
    const bool write = (data[0] & 1) != 0;
    const bool ascii = (data[0] & 2) != 0;
    useErrorRows((data[0] >> 2) & 3);
    modbusRequest.registerTable = data[1] % 5;
    modbusRequest.count = static_cast<std::uint16_t>(data[2] % (maxRequestCount + 1));
    modbusRequest.deviceAddress = data[3];
    modbusRequest.startRegister = static_cast<std::uint16_t>(data[1] << 8 | data[2]);
    for (std::size_t i = 0; i < modbusRequest.values.size(); ++i)
        modbusRequest.values[i] = static_cast<std::uint16_t>(data[3] * (i + 1));
    const int frameLength = write ? buildWriteFrame(modbusRequest) : buildReadFrame(modbusRequest);
    if (frameLength == 0)
        return 0;  // never sent, so never checked
    std::array<std::uint8_t, linkBufferSize> body{};
    std::copy(outgoingBuffer, outgoingBuffer + frameLength - 2, body.begin());

    const std::size_t received = size - head;
    CollectedReply reply;
    reply.length = static_cast<int>(std::min(received, linkBufferSize));
    reply.overflow = received > linkBufferSize;
    std::fill(incomingBuffer, incomingBuffer + linkBufferSize, std::uint8_t{0});
    std::memcpy(incomingBuffer, data + head, static_cast<std::size_t>(reply.length));

    const RequestDirection direction = write ? RequestDirection::Write : RequestDirection::Read;
    const ReplyCheck check = ascii ? checkAsciiReply(direction, body.data(), reply) : checkRtuReply(direction, reply);
    if (!knownStatus(modbusRequest.status) || check.success != (modbusRequest.status == statusGood))
        __builtin_trap();
    if (check.success && !write && !ascii && !rtuReadCarriesItsData(reply.length))
        __builtin_trap();
    return 0;
}
