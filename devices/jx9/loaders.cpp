#include "devices/jx9/loaders.h"

#include <array>

#include "description/loader_kit.h"
#include "devices/jx9/parameter_tables.h"

namespace {

constexpr LinkDefaults linkDefaultsJx9 = {
    .deviceAddress = 1,
    .baudRate = 9600,
    .dataBits = 8,
    .stopBits = 1.0f,
    .parityCode = 2,
    .identRegister = 3,
    .registerTable = tableHoldingRegisters,
    .identValue = 65535,
};

// Standard exception replies are reported with their own texts and end the attempts.
constexpr ErrorRow errorRowsJx9[] = {{errorKindException, 0, 0, 0, ""}};

// A code is the five-digit Modbus reference ("40019"): the first digit is the table, the last four
// count from 1. The device keeps no separate EEPROM copy, so the EEPROM address repeats the address
// and the write-to-EEPROM command is never offered.
RegisterFields registersOfReference(const char* code)
{
    unsigned reference = 0;
    for (const char* c = code; *c >= '0' && *c <= '9'; ++c)
        reference = reference * 10 + static_cast<unsigned>(*c - '0');
    const unsigned table = reference / 10000;
    const unsigned number = reference % 10000;
    const auto address = static_cast<std::uint16_t>(number == 0 ? 0 : number - 1);
    return {address, address, static_cast<std::uint16_t>(table)};
}

}  // namespace

int loadDescriptionJx9()
{
    const std::array<const Jx9Table*, 4> tables = {&coilTable, &discreteInputTable, &inputRegisterTable,
                                                   &holdingRegisterTable};
    std::array<GroupRow, 4> groups{};
    std::array<SubgroupRow, 4> subgroups{};
    for (std::size_t i = 0; i < tables.size(); ++i) {
        groups[i] = {tables[i]->code, tables[i]->name};
        subgroups[i] = {tables[i]->code, tables[i]->code, tables[i]->name};
    }

    beginDescription("УПП Tovik Jx9");
    appendLinkDefaults(linkDefaultsJx9);
    appendErrorRows(errorRowsJx9);
    appendGroups(groups);
    appendSubgroups(subgroups);
    for (const Jx9Table* table : tables) {
        for (const Jx9Parameter& parameter : table->parameters) {
            appendParameter(table->code, parameter.row, registersOfReference(parameter.row.code));
            appendValueOptions(parameter.values);
            appendBitOptions(parameter.bits);
        }
    }
    sortParametersByKey();
    return 0;
}
