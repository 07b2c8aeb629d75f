#pragma once
// Appends the parameters of one model from the shared tables: the model's order of tables and what
// it changes in them (field patches, its own procedure copies, registers off the rule).

#include <cstdint>
#include <span>
#include <string_view>

#include "description/loader_kit.h"
#include "devices/zr48/param_tables.h"

namespace zr48 {

inline constexpr std::int32_t keepAccess = -1;

// Fields a model gives a shared row in place of the table's; nullptr, keepAccess and an empty span
// keep the table's value. New choices also set optionCount to their number of rows.
struct RowPatch {
    const char* code;
    const char* defaultText = nullptr;
    const char* maxText = nullptr;
    std::int32_t access = keepAccess;
    std::span<const ValueRow> choices = {};
};

struct ProcedureSwap {
    OptionProcedure shared;
    OptionProcedure own;
};

struct RegisterException {
    const char* code;
    std::uint16_t address;
    std::uint16_t eepromAddress;
};

struct ModelVariant {
    std::span<const ParamTable* const> order;
    std::span<const RowPatch> patches = {};
    std::span<const ProcedureSwap> procedureSwaps = {};
    std::span<const RegisterException> registerExceptions = {};
};

// Registers of a code such as "F10.05": the subgroup number is the high byte (U subgroups from 0x30,
// H subgroups from 0x40) and the index the low byte; F and H settings have their EEPROM copy 0x8000
// higher, the U readings none.
RegisterFields registersByRule(std::string_view code);

// Appends every parameter of the variant's tables in order, each followed at once by its option rows.
void appendParameterTables(const ModelVariant& variant);

extern const ModelVariant zr48xVariant;

}  // namespace zr48
