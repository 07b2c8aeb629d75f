#pragma once
// The Zr12 parameter rows, one table per subgroup. The Zr24 and Yv20 descriptions are built from
// the same tables.

#include <span>

#include "devices/zr12/param_entry.h"

extern const SubgroupParams zr12ParamsP0_0;
extern const SubgroupParams zr12ParamsP0_1;
extern const SubgroupParams zr12ParamsP1_0;
extern const SubgroupParams zr12ParamsP1_1;
extern const SubgroupParams zr12ParamsP2_0;
extern const SubgroupParams zr12ParamsP2_1;
extern const SubgroupParams zr12ParamsP2_2;
extern const SubgroupParams zr12ParamsP3_0;
extern const SubgroupParams zr12ParamsP3_1;
extern const SubgroupParams zr12ParamsP3_2;
extern const SubgroupParams zr12ParamsP4_0;
extern const SubgroupParams zr12ParamsP4_1;
extern const SubgroupParams zr12ParamsP5_0;
extern const SubgroupParams zr12ParamsP5_1;
extern const SubgroupParams zr12ParamsP6_0;
extern const SubgroupParams zr12ParamsP6_1;
extern const SubgroupParams zr12ParamsP7_0;
extern const SubgroupParams zr12ParamsP8_0;
extern const SubgroupParams zr12ParamsP8_1;
extern const SubgroupParams zr12ParamsP9_0;

// The twenty tables in load order.
std::span<const SubgroupParams* const> zr12ParameterTables();
