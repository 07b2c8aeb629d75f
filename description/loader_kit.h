#pragma once
// What every model loader is made of: compact constant rows and the appends that turn them into
// description records, in the order the loader contract fixes (title, link defaults, error rows,
// groups, subgroups, then each parameter followed at once by its option rows or one option-table
// procedure). Device data files hold constexpr arrays of these row types.

#include <cstdint>
#include <span>

#include "description/description.h"

struct GroupRow {
    const char* code;
    const char* name;
};

struct SubgroupRow {
    const char* groupCode;
    const char* code;
    const char* name;
};

struct ErrorRow {
    std::uint16_t errorKind;
    std::uint16_t errorRegister;
    std::uint16_t compareMode;
    std::uint16_t errorCode;
    const char* text;
};

// The fields of a Parameter a model gives, apart from its key and its register fields.
struct ParamRow {
    const char* code;
    const char* name;
    const char* minText;
    const char* maxText;
    const char* defaultText;
    std::uint16_t displayFormat;
    std::uint16_t access;
    std::uint16_t optionCount;
};

struct ValueRow {
    std::uint16_t value;
    const char* text;
};

struct BitRow {
    std::uint16_t bitNumber;
    const char* text;
};

struct DigitRow {
    std::int32_t digitMask;
    std::uint16_t fieldValue;
    const char* valueText;
    const char* fieldName;
};

struct RegisterFields {
    std::uint16_t address;
    std::uint16_t eepromAddress;
    std::uint16_t registerTable;
};

// An option-table procedure: no arguments, works on the current Parameter and currentOptionKey.
using OptionProcedure = int (*)();

// Steps 1 to 5 of a load.
void beginDescription(const char* modelName);
void appendLinkDefaults(const LinkDefaults& defaults);
void appendErrorRows(std::span<const ErrorRow> rows);
void appendGroups(std::span<const GroupRow> rows);
void appendSubgroups(std::span<const SubgroupRow> rows);

// Step 7: the first call after beginDescription takes key 1000, each further call the next key.
// The new Parameter is the current one for the option rows and procedures that follow.
Parameter& appendParameter(const char* subgroupCode, const ParamRow& row, RegisterFields registers);

// Option rows keyed with currentOptionKey, appended to their list in the given order.
void appendValueOptions(std::span<const ValueRow> rows);
void appendBitOptions(std::span<const BitRow> rows);
void appendDecDigitOptions(std::span<const DigitRow> rows);
void appendHexDigitOptions(std::span<const DigitRow> rows);

// The Parameter appended last (what an option-table procedure stores its fields on).
Parameter& currentParameter();

// Step 8.
void sortParametersByKey();
