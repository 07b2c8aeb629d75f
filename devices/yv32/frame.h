#pragma once
// The group and subgroup rows of the Yv32/Yv33 design with the parameter table of each subgroup.

#include <span>

#include "description/loader_kit.h"
#include "devices/yv32/parameter_tables.h"

struct Yv32GroupEntry {
    GroupRow row;
    bool yv33Only;
};

struct Yv32SubgroupEntry {
    SubgroupRow row;
    const Yv32ParamTable* params;
    bool yv33Only;
};

extern const std::span<const Yv32GroupEntry> yv32Groups;
extern const std::span<const Yv32SubgroupEntry> yv32Subgroups;
