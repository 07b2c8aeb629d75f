#include "devices/yv32/loaders.h"

#include <cstdint>
#include <cstring>
#include <span>

#include "description/loader_kit.h"
#include "devices/yv32/frame.h"
#include "devices/yv32/parameter_tables.h"

namespace {

// Register 0x1E00 is P30.00 "communication channel type"; 0 means Modbus. Both models answer alike.
constexpr LinkDefaults yv32LinkDefaults{1, 9600, 8, 1.0f, 0, 0x1E00, tableHoldingRegisters, 0};

constexpr ErrorRow yv32ErrorRows[] = {{errorKindException, 0, 0, 0, ""}};

struct OffRuleRegisters {
    const char* code;
    std::uint16_t address;
    std::uint16_t eepromAddress;
};

// The drive reports its rated voltage and current one register above where their codes point.
constexpr OffRuleRegisters offRuleRegisters[] = {
    {"r22.17", 0x1612, 0x9612},
    {"r22.18", 0x1613, 0x9613},
};

int digitAt(const char* text, std::size_t index) { return text[index] - '0'; }

// A code ends in "ss.ii" (the letter before it may be a two-byte Cyrillic one): subgroup ss in the
// high byte, index ii in the low byte; the EEPROM copy is the same register with bit 15 set.
RegisterFields registersOf(const char* code)
{
    for (const OffRuleRegisters& entry : offRuleRegisters)
        if (std::strcmp(entry.code, code) == 0)
            return {entry.address, entry.eepromAddress, tableHoldingRegisters};
    const std::size_t end = std::strlen(code);
    const int subgroup = digitAt(code, end - 5) * 10 + digitAt(code, end - 4);
    const int index = digitAt(code, end - 2) * 10 + digitAt(code, end - 1);
    const auto address = static_cast<std::uint16_t>(subgroup * 256 + index);
    return {address, static_cast<std::uint16_t>(address + 0x8000), tableHoldingRegisters};
}

struct Variant {
    const char* title;
    bool withHoist;
    std::span<const Yv33RowChange> changes;
};

const Yv33RowChange* changeOf(const Variant& variant, const char* code)
{
    for (const Yv33RowChange& change : variant.changes)
        if (std::strcmp(change.code, code) == 0)
            return &change;
    return nullptr;
}

void appendOptions(const Yv32Options& options)
{
    if (options.procedure) {
        options.procedure();
        return;
    }
    appendValueOptions(options.values);
    appendBitOptions(options.bits);
    appendHexDigitOptions(options.hexDigits);
    appendDecDigitOptions(options.decDigits);
}

void appendParameters(const Variant& variant, const Yv32SubgroupEntry& subgroup)
{
    for (const Yv32Param& param : *subgroup.params) {
        ParamRow row = param.row;
        Yv32Options options = param.options;
        if (const Yv33RowChange* change = changeOf(variant, row.code)) {
            if (change->name)
                row.name = change->name;
            if (change->procedure)
                options.procedure = change->procedure;
        }
        appendParameter(subgroup.row.code, row, registersOf(row.code));
        appendOptions(options);
    }
}

int loadVariant(const Variant& variant)
{
    beginDescription(variant.title);
    appendLinkDefaults(yv32LinkDefaults);
    appendErrorRows(yv32ErrorRows);
    for (const Yv32GroupEntry& group : yv32Groups)
        if (variant.withHoist || !group.yv33Only)
            appendGroups({&group.row, 1});
    for (const Yv32SubgroupEntry& subgroup : yv32Subgroups)
        if (variant.withHoist || !subgroup.yv33Only)
            appendSubgroups({&subgroup.row, 1});
    for (const Yv32SubgroupEntry& subgroup : yv32Subgroups)
        if (variant.withHoist || !subgroup.yv33Only)
            appendParameters(variant, subgroup);
    sortParametersByKey();
    return 0;
}

}  // namespace

int loadDescriptionYv32() { return loadVariant({"ПЧ Tovik Yv32", false, {}}); }

int loadDescriptionYv33() { return loadVariant({"ПЧ Tovik Yv33", true, yv33RowChanges}); }
