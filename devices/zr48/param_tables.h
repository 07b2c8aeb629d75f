#pragma once
// Parameter rows of the Zr48 design as constant tables, one per subgroup (or per run of rows only
// Zr48X has). Each row brings its own choice or digit rows, or the option-table procedure that
// appends its choices, or nothing; its registers follow from its code.

#include <span>

#include "description/loader_kit.h"

namespace zr48 {

struct ParamEntry {
    ParamRow row;
    std::span<const ValueRow> choices = {};
    std::span<const DigitRow> digits = {};
    OptionProcedure procedure = nullptr;
};

struct ParamTable {
    const char* subgroupCode;
    std::span<const ParamEntry> rows;
};

// Subgroups of Zr48, which Zr48X shares.
extern const ParamTable tableF00, tableF01, tableF02, tableF03;
extern const ParamTable tableF04, tableF05, tableF06, tableF07;
extern const ParamTable tableF08, tableF09, tableF10;
extern const ParamTable tableF11, tableF12, tableF13, tableF14;
extern const ParamTable tableF15, tableF16, tableF17, tableF22;
extern const ParamTable tableU00, tableU01, tableH00;

// Rows only Zr48X has: runs that follow the shared rows of their subgroup, and motor 2.
extern const ParamTable tableF04Zr48X, tableF05Zr48X, tableF13Zr48X, tableH00Zr48X;
extern const ParamTable tableF18, tableF19, tableF20;

}  // namespace zr48
