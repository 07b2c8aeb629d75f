#pragma once
// The one program-wide Modbus request: callers fill it, the link executes it and leaves the
// outcome in status and values.

#include <array>
#include <cstdint>
#include <string>

constexpr int maxRequestCount = 16;

struct ModbusRequest {
    std::uint16_t deviceAddress = 0;  // only the low 8 bits are sent
    std::uint16_t startRegister = 0;
    std::uint16_t registerTable = 0;  // 0 coils, 1 discrete inputs, 3 input registers, 4 holding registers
    std::uint16_t count = 0;          // 1 to maxRequestCount
    std::string mode;                 // "RTU" or "ASCII"
    std::uint16_t status = 0;
    std::array<std::uint16_t, maxRequestCount> values{};
};

inline ModbusRequest modbusRequest;
