#pragma once
// Outcomes a request leaves in ModbusRequest.status.

#include <cstdint>

inline constexpr std::uint16_t statusGood = 0;
inline constexpr std::uint16_t statusChecksumError = 1;  // CRC in RTU, LRC or a malformed frame in ASCII
inline constexpr std::uint16_t statusTimeout = 2;
// A one-register write answered with an echo of another value (the device did not take the value)
// or of another register (the echo answers some other request).
inline constexpr std::uint16_t statusWrongEcho = 3;
inline constexpr std::uint16_t statusPortNotOpen = 4;
inline constexpr std::uint16_t statusWrongAddress = 5;
inline constexpr std::uint16_t statusWrongFunction = 6;
// A read reply whose data does not fit the request: another byte count, or fewer bytes than it
// states.
inline constexpr std::uint16_t statusMalformedReply = 7;
inline constexpr std::uint16_t statusDeviceError = 10;
// Modbus exception n is 10 + n (11 to 18). A request the protocol has no function for (a write to
// discrete inputs or input registers) fails as exception 1, "illegal function", without being sent.
inline constexpr std::uint16_t statusExceptionBase = 10;
inline constexpr std::uint16_t statusIllegalFunction = statusExceptionBase + 1;
