// What Zr48X changes in the Zr48 tables: where its own rows go in, the fields of shared rows that
// take other values, its own copies of the option-table procedures, and the motor 2 rows whose
// registers sit two below the rule.

#include "devices/zr48/option_procedures.h"
#include "devices/zr48/parameter_walk.h"

namespace zr48 {
namespace {

constexpr const ParamTable* zr48xOrder[] = {
    &tableF00, &tableF01, &tableF02, &tableF03,
    &tableF04, &tableF04Zr48X, &tableF05, &tableF05Zr48X, &tableF06, &tableF07,
    &tableF08, &tableF09, &tableF10,
    &tableF11, &tableF12, &tableF13, &tableF13Zr48X, &tableF14,
    &tableF15, &tableF16, &tableF17,
    &tableF18, &tableF19, &tableF20,
    &tableF22, &tableU00, &tableU01, &tableH00, &tableH00Zr48X,
};

// Zr48X can also run several masters in a pump group.
constexpr ValueRow kH0001Choices[] = {
    {0, "Постоянный мастер"},
    {1, "Переменный мастер"},
    {2, "Мульти-переменный"},
    {3, "Мульти-мастер"},
};

// Shared rows that take other values in Zr48X; the longer function and fault lists raise the
// maximums of the rows that offer them.
constexpr RowPatch zr48xPatches[] = {
    {.code = "F04.00", .maxText = "58"},
    {.code = "F04.01", .defaultText = "1", .maxText = "58"},
    {.code = "F04.02", .maxText = "58"},
    {.code = "F04.03", .maxText = "58"},
    {.code = "F04.04", .maxText = "58"},
    {.code = "F04.05", .maxText = "58"},
    {.code = "F04.06", .maxText = "58"},
    {.code = "F04.07", .maxText = "58"},
    {.code = "F04.08", .maxText = "58"},
    {.code = "F04.09", .maxText = "58"},
    {.code = "F22.00", .maxText = "58"},
    {.code = "F22.01", .maxText = "58"},
    {.code = "F22.02", .maxText = "58"},
    {.code = "F22.03", .maxText = "58"},
    {.code = "F22.04", .maxText = "58"},
    {.code = "F05.00", .maxText = "42"},
    {.code = "F05.01", .maxText = "42"},
    {.code = "F05.02", .maxText = "42"},
    {.code = "F05.03", .maxText = "42"},
    {.code = "F22.07", .maxText = "42"},
    {.code = "F22.08", .maxText = "42"},
    {.code = "F22.09", .maxText = "42"},
    {.code = "F22.10", .maxText = "42"},
    {.code = "F22.11", .maxText = "42"},
    {.code = "U01.00", .maxText = "44"},
    {.code = "U01.05", .maxText = "44"},
    {.code = "U01.10", .maxText = "44"},
    {.code = "U01.15", .maxText = "44"},
    {.code = "U01.16", .maxText = "44"},
    {.code = "U01.17", .maxText = "44"},
    {.code = "U01.18", .maxText = "44"},
    {.code = "U01.19", .maxText = "44"},
    {.code = "U01.20", .maxText = "44"},
    {.code = "U01.21", .maxText = "44"},
    {.code = "U01.22", .maxText = "44"},
    {.code = "U01.23", .maxText = "44"},
    {.code = "U01.24", .maxText = "44"},
    {.code = "U01.25", .maxText = "44"},
    {.code = "H00.01", .maxText = "3", .choices = kH0001Choices},
    {.code = "H00.27", .access = 2},
    {.code = "H00.28", .access = 2},
};

constexpr ProcedureSwap zr48xProcedures[] = {
    {fillDiFunctionOptionsZr48, fillDiFunctionOptionsZr48X},
    {fillDoFunctionOptionsZr48, fillDoFunctionOptionsZr48X},
    {fillVdoFunctionOptionsZr48, fillVdoFunctionOptionsZr48X},
    {fillAoFunctionOptionsZr48, fillAoFunctionOptionsZr48X},
    {fillKeypadDisplayOptionsZr48, fillKeypadDisplayOptionsZr48X},
    {fillUserCodeOptionsZr48, fillUserCodeOptionsZr48X},
    {fillFaultCodeOptionsZr48, fillFaultCodeOptionsZr48X},
};

// These motor 2 rows sit two registers below the rule of their index (F18.08 at 0x1206).
constexpr RegisterException zr48xRegisterExceptions[] = {
    {"F18.08", 0x1206, 0x9206},
    {"F18.09", 0x1207, 0x9207},
    {"F18.10", 0x1208, 0x9208},
    {"F18.11", 0x1209, 0x9209},
    {"F18.12", 0x120A, 0x920A},
    {"F18.13", 0x120B, 0x920B},
    {"F18.14", 0x120C, 0x920C},
    {"F18.15", 0x120D, 0x920D},
    {"F18.21", 0x1213, 0x9213},
    {"F18.30", 0x121C, 0x921C},
};

}  // namespace

constexpr ModelVariant zr48xVariant{
    .order = zr48xOrder,
    .patches = zr48xPatches,
    .procedureSwaps = zr48xProcedures,
    .registerExceptions = zr48xRegisterExceptions,
};

}  // namespace zr48
