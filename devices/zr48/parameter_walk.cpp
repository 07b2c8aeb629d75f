#include "devices/zr48/parameter_walk.h"

#include <cstring>

namespace zr48 {
namespace {

int twoDigits(std::string_view text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

const RowPatch* patchOf(std::span<const RowPatch> patches, const char* code)
{
    for (const RowPatch& patch : patches)
        if (std::strcmp(patch.code, code) == 0)
            return &patch;
    return nullptr;
}

OptionProcedure procedureOf(std::span<const ProcedureSwap> swaps, OptionProcedure procedure)
{
    for (const ProcedureSwap& swap : swaps)
        if (swap.shared == procedure)
            return swap.own;
    return procedure;
}

RegisterFields registersOf(std::span<const RegisterException> exceptions, const char* code)
{
    for (const RegisterException& exception : exceptions)
        if (std::strcmp(exception.code, code) == 0)
            return {exception.address, exception.eepromAddress, tableHoldingRegisters};
    return registersByRule(code);
}

void appendEntry(const char* subgroupCode, const ParamEntry& entry, const ModelVariant& variant)
{
    ParamRow row = entry.row;
    std::span<const ValueRow> choices = entry.choices;
    if (const RowPatch* patch = patchOf(variant.patches, row.code)) {
        if (patch->defaultText)
            row.defaultText = patch->defaultText;
        if (patch->maxText)
            row.maxText = patch->maxText;
        if (patch->access != keepAccess)
            row.access = static_cast<std::uint16_t>(patch->access);
        if (!patch->choices.empty()) {
            choices = patch->choices;
            row.optionCount = static_cast<std::uint16_t>(choices.size());
        }
    }
    appendParameter(subgroupCode, row, registersOf(variant.registerExceptions, row.code));
    appendValueOptions(choices);
    appendDecDigitOptions(entry.digits);
    if (OptionProcedure procedure = procedureOf(variant.procedureSwaps, entry.procedure))
        procedure();
}

}  // namespace

RegisterFields registersByRule(std::string_view code)
{
    if (code.size() < 6)
        return {0, 0, tableHoldingRegisters};
    int highByte = twoDigits(code, 1);
    if (code[0] == 'U')
        highByte += 0x30;
    else if (code[0] == 'H')
        highByte += 0x40;
    const auto address = static_cast<std::uint16_t>(highByte * 256 + twoDigits(code, 4));
    const auto eepromAddress = static_cast<std::uint16_t>(code[0] == 'U' ? 0 : address + 0x8000);
    return {address, eepromAddress, tableHoldingRegisters};
}

void appendParameterTables(const ModelVariant& variant)
{
    for (const ParamTable* table : variant.order)
        for (const ParamEntry& entry : table->rows)
            appendEntry(table->subgroupCode, entry, variant);
}

}  // namespace zr48
