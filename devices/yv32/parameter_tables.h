#pragma once
// The parameter rows of the Yv32/Yv33 design, one table per subgroup, rows in append order.
// A ParamRow lists code, name, min, max, default, display format, access and the optionCount the
// loader stores; the options name the rows appended right after the parameter, or the one
// procedure that appends them.

#include <span>

#include "description/loader_kit.h"

struct Yv32Options {
    std::span<const ValueRow> values{};
    std::span<const BitRow> bits{};
    std::span<const DigitRow> hexDigits{};
    std::span<const DigitRow> decDigits{};
    OptionProcedure procedure = nullptr;
};

struct Yv32Param {
    ParamRow row;
    Yv32Options options{};
};

using Yv32ParamTable = std::span<const Yv32Param>;

extern const Yv32ParamTable yv32Subgroup00;
extern const Yv32ParamTable yv32Subgroup01;
extern const Yv32ParamTable yv32Subgroup02;
extern const Yv32ParamTable yv32Subgroup03;
extern const Yv32ParamTable yv32Subgroup04;
extern const Yv32ParamTable yv32Subgroup05;
extern const Yv32ParamTable yv32Subgroup06;
extern const Yv32ParamTable yv32Subgroup07;
extern const Yv32ParamTable yv32Subgroup08;
extern const Yv32ParamTable yv32Subgroup10;
extern const Yv32ParamTable yv32Subgroup11;
extern const Yv32ParamTable yv32Subgroup12;
extern const Yv32ParamTable yv32Subgroup13;
extern const Yv32ParamTable yv32Subgroup14;
extern const Yv32ParamTable yv32Subgroup16;
extern const Yv32ParamTable yv32Subgroup20;
extern const Yv32ParamTable yv32Subgroup21;
extern const Yv32ParamTable yv32Subgroup22;
extern const Yv32ParamTable yv32Subgroup23;
extern const Yv32ParamTable yv32Subgroup24;
extern const Yv32ParamTable yv32Subgroup25;
extern const Yv32ParamTable yv32Subgroup26;
extern const Yv32ParamTable yv32Subgroup27;
extern const Yv32ParamTable yv32Subgroup30;
extern const Yv32ParamTable yv32Subgroup31;
extern const Yv32ParamTable yv32Subgroup40;
extern const Yv32ParamTable yv32Subgroup41;
extern const Yv32ParamTable yv32Subgroup42;
extern const Yv32ParamTable yv32Subgroup43;
extern const Yv32ParamTable yv32Subgroup44;
extern const Yv32ParamTable yv32Subgroup45;
extern const Yv32ParamTable yv32Subgroup59;
extern const Yv32ParamTable yv32Subgroup60;
extern const Yv32ParamTable yv32Subgroup61;
extern const Yv32ParamTable yv32Subgroup62;
extern const Yv32ParamTable yv32Subgroup63;

// A row that Yv33 carries with another name or another option procedure; nullptr keeps Yv32's.
struct Yv33RowChange {
    const char* code;
    const char* name;
    OptionProcedure procedure;
};

extern const std::span<const Yv33RowChange> yv33RowChanges;
