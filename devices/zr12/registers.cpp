#include "devices/zr12/registers.h"

#include <cstdint>

namespace {

struct OffRuleRun {
    std::string_view firstCode;
    std::string_view lastCode;
    int addressShift;
    int eepromShift;
};

// Codes of one subgroup compare in index order as texts.
constexpr OffRuleRun offRuleRuns[] = {
    {"P1.1.16", "P1.1.19", -1, -1},
    {"P3.0.24", "P3.0.51", +1, 0},
    {"P6.0.08", "P6.0.26", 0, -1},
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isParameterCode(std::string_view code)
{
    return code.size() == 7 && code[0] == 'P' && isDigit(code[1]) && code[2] == '.' && isDigit(code[3])
        && code[4] == '.' && isDigit(code[5]) && isDigit(code[6]);
}

}  // namespace

RegisterFields pSchemeRegisters(std::string_view code)
{
    if (!isParameterCode(code))
        return {0, 0, 0};
    const int group = code[1] - '0';
    const int subgroup = code[3] - '0';
    const int index = (code[5] - '0') * 10 + (code[6] - '0');
    const int rule = group * 4096 + subgroup * 256 + index;
    int address = rule + 0x400;
    int eeprom = group == 9 ? 0 : rule;
    for (const OffRuleRun& run : offRuleRuns) {
        if (code >= run.firstCode && code <= run.lastCode) {
            address += run.addressShift;
            eeprom += run.eepromShift;
        }
    }
    return {static_cast<std::uint16_t>(address), static_cast<std::uint16_t>(eeprom), tableHoldingRegisters};
}
