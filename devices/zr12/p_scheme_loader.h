#pragma once
// Builds a description of the P-scheme design: the Zr12 rows in their order, with the departures
// of a variant (Zr24, Yv20) applied, and each shared table brought in as the variant's plan says.

#include <array>
#include <span>

#include "devices/zr12/param_entry.h"

// For each SharedTable, what appends its rows after a parameter that uses it: one of the model's
// option-table procedures, or a step of its loader that writes the rows out.
using SharedTablePlan = std::array<OptionProcedure, sharedTableCount>;

// A Zr12 parameter that the variant gives other contents; nullptr keeps the Zr12 part.
struct ParamChange {
    const char* code;
    const ParamRow* row;
    const OptionRef* options;
};

// Parameters the variant adds right after the Zr12 parameter afterCode.
struct ParamInsertion {
    const char* afterCode;
    std::span<const ParamEntry> entries;
};

struct PSchemeVariant {
    const char* title;
    const SharedTablePlan* plan;
    std::span<const char* const> omittedCodes;
    std::span<const ParamChange> changes;
    std::span<const ParamInsertion> insertions;
};

// Appends the whole description; returns 0.
int loadPSchemeDescription(const PSchemeVariant& variant);

// Loader steps for plans: the rows of a function table written out without touching the parameter.
int writeDoFunctionRows();
int writeAoFunctionRows();
int writeAiDiFunctionRows();
