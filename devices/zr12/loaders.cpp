#include "devices/zr12/loaders.h"

#include "devices/zr12/input_state_bits.h"
#include "devices/zr12/option_procedures.h"
#include "devices/zr12/p_scheme_loader.h"

namespace {

// In SharedTable order.
constexpr SharedTablePlan zr12Plan = {
    fillDiFunctionOptionsZr12,   writeDoFunctionRows,         writeAoFunctionRows,
    writeAiDiFunctionRows,       fillStagePropertyDigitsZr12, fillRelayWordBDigitsZr12,
    fillRelayWordCDigitsZr12,    fillFaultTypeOptionsZr12,    fillUserFunctionOptionsZr12,
};

constexpr SharedTablePlan zr24Plan = {
    fillDiFunctionOptionsZr24,   writeDoFunctionRows,         writeAoFunctionRows,
    writeAiDiFunctionRows,       fillStagePropertyDigitsZr24, fillRelayWordBDigitsZr24,
    fillRelayWordCDigitsZr24,    fillFaultTypeOptionsZr24,    fillUserFunctionOptionsZr24,
};

// The Zr24 has no digital input DI1: its function and its delay are not described, and the input
// state word reads bit 0 as reserved. Registers stay where they are.
constexpr const char* zr24OmittedCodes[] = {"P2.0.00", "P2.1.26"};

constexpr std::array<BitRow, 16> zr24InputStateBits = [] {
    std::array<BitRow, 16> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = zr12InputStateBits[i];
    rows[0].text = "Резерв";
    return rows;
}();

constexpr OptionRef zr24InputStateOptions = bits(zr24InputStateBits);

constexpr ParamChange zr24Changes[] = {
    {"P9.0.07", nullptr, &zr24InputStateOptions},
};

constexpr PSchemeVariant zr12Variant = {"ПЧ Tovik Zr12", &zr12Plan, {}, {}, {}};
constexpr PSchemeVariant zr24Variant = {"ПЧ Halmer Zr24", &zr24Plan, zr24OmittedCodes, zr24Changes, {}};

}  // namespace

int loadDescriptionZr12() { return loadPSchemeDescription(zr12Variant); }
int loadDescriptionZr24() { return loadPSchemeDescription(zr24Variant); }
