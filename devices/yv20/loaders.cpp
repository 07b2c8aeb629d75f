#include "devices/yv20/loaders.h"

#include "devices/yv20/added_rows.h"
#include "devices/yv20/option_procedures.h"
#include "devices/zr12/p_scheme_loader.h"

namespace {

// In SharedTable order. The Yv20 writes none of the shared tables out itself.
constexpr SharedTablePlan yv20Plan = {
    fillDiFunctionOptionsYv20,   fillDoFunctionOptionsYv20,   fillAoFunctionOptionsYv20,
    fillAiDiFunctionOptionsYv20, fillStagePropertyDigitsYv20, fillRelayWordBDigitsYv20,
    fillRelayWordCDigitsYv20,    fillFaultTypeOptionsYv20,    fillUserFunctionOptionsYv20,
};

constexpr ParamInsertion yv20Insertions[] = {
    {"P0.1.25", yv20RowsAfterP0_1_25},  // encoder, switching frequency of ramps 2 and 3
    {"P2.0.27", yv20RowsAfterP2_0_27},  // output YO1
    {"P2.0.29", yv20RowsAfterP2_0_29},  // relay T2, outputs YO2 and YO/FMP
    {"P2.0.33", yv20RowsAfterP2_0_33},  // analog output FM2, pulse output
    {"P2.0.37", yv20RowsAfterP2_0_37},  // offset and gain of FM2
    {"P2.1.19", yv20RowsAfterP2_1_19},  // YO/FMP mode, pulse output frequency
    {"P2.1.28", yv20RowsAfterP2_1_28},  // delay of YO
    {"P2.1.30", yv20RowsAfterP2_1_30},  // delay of T2
    {"P4.1.06", yv20RowsAfterP4_1_06},  // action on a communication error
    {"P5.0.05", yv20RowsAfterP5_0_05},  // keypad display lines
    {"P9.0.30", yv20RowsAfterP9_0_30},  // operation results and reserved readings
};

constexpr ParamChange yv20Changes[] = {
    {"P2.0.20", &yv20RowP2_0_20.row, &yv20RowP2_0_20.options},
    {"P2.1.22", &yv20RowP2_1_22.row, &yv20RowP2_1_22.options},  // logic of all five outputs
    {"P4.1.00", &yv20RowP4_1_00.row, &yv20RowP4_1_00.options},  // Modbus and PROFIBUS digits
    {"P4.1.05", &yv20RowP4_1_05.row, &yv20RowP4_1_05.options},
};

constexpr PSchemeVariant yv20Variant = {"ПЧ Tovik Yv20", &yv20Plan, {}, yv20Changes, yv20Insertions};

}  // namespace

int loadDescriptionYv20() { return loadPSchemeDescription(yv20Variant); }
