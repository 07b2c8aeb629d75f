#pragma once
// The records of a device description and of the CSV/clipboard export, field for field.

#include <cstdint>
#include <string>

struct LinkDefaults {
    std::uint16_t deviceAddress = 0;
    std::uint32_t baudRate = 0;  // up to 115200: a 16-bit field would not hold it
    std::uint16_t dataBits = 0;
    float stopBits = 0.0f;       // 1.0, 1.5 or 2.0
    std::uint16_t parityCode = 0;  // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint16_t identRegister = 0;
    std::uint16_t registerTable = 0;
    std::uint16_t identValue = 0;
};

// How a DeviceErrorCode row is matched against a failed reply.
enum ErrorKind : std::uint16_t {
    errorKindException = 0,    // standard Modbus exception reply, texts of modbusExceptionText
    errorKindEndOfWalk = 1,
    errorKindDeviceError = 2,  // device error reply carrying errorRegister and errorCode
};

struct DeviceErrorCode {
    std::uint16_t errorKind = 0;
    std::uint16_t errorRegister = 0;
    std::uint16_t compareMode = 0;
    std::uint16_t errorCode = 0;
    std::string text;
};

struct ParamGroup {
    std::string code;
    std::string name;
    std::int32_t treeItem = 0;
};

struct ParamSubgroup {
    std::string groupCode;
    std::string code;
    std::string name;
    std::int32_t treeItem = 0;
};

// Modbus tables a parameter lives in.
enum RegisterTable : std::uint16_t {
    tableCoils = 0,
    tableDiscreteInputs = 1,
    tableInputRegisters = 3,
    tableHoldingRegisters = 4,
};

struct Parameter {
    std::string subgroupCode;
    std::string code;
    std::string name;
    std::uint16_t optionCount = 0;
    std::int32_t optionKey = 0;
    std::int32_t readValue = 0;
    std::int32_t setValue = 0;
    std::string defaultText;
    std::string minText;
    std::string maxText;
    std::uint16_t displayFormat = 0;
    std::uint16_t address = 0;
    std::uint16_t eepromAddress = 0;
    std::uint16_t registerTable = 0;
    std::uint16_t access = 0;  // 0 read-only, anything else writable
};

struct ValueOption {
    std::int32_t optionKey = 0;
    std::uint16_t value = 0;
    std::string text;
};

struct BitOption {
    std::int32_t optionKey = 0;
    std::uint16_t bitNumber = 0;
    std::string text;
};

// One row of a digit field: digitMask's 1-digits mark the positions the field covers, units first.
struct DigitOption {
    std::int32_t optionKey = 0;
    std::int32_t digitMask = 0;
    std::uint16_t fieldValue = 0;
    std::string valueText;
    std::string fieldName;
};
using DecDigitOption = DigitOption;
using HexDigitOption = DigitOption;

struct ExportRow {
    std::string codeCell;
    std::string nameCell;
    std::int32_t optionKey = 0;
    std::string readCell;
    std::string setCell;
    std::string defaultCell;
    std::string rangeCell;
    std::string addressCell;
    std::string eepromAddressCell;
};
