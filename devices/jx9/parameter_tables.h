#pragma once
// The soft starter's parameters, one table per Modbus register table. Each table is one group
// with one subgroup of the same code and name, so the tree lists the parameters under the group.

#include <span>

#include "description/loader_kit.h"

// A parameter and the option rows it carries itself (no shared option procedures in this model).
struct Jx9Parameter {
    ParamRow row;
    std::span<const ValueRow> values;
    std::span<const BitRow> bits;
};

struct Jx9Table {
    const char* code;
    const char* name;
    std::span<const Jx9Parameter> parameters;
};

extern const Jx9Table coilTable;
extern const Jx9Table discreteInputTable;
extern const Jx9Table inputRegisterTable;
extern const Jx9Table holdingRegisterTable;
