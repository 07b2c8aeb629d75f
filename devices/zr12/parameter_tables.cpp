#include "devices/zr12/parameter_tables.h"

namespace {
const SubgroupParams* const tablesInLoadOrder[] = {
    &zr12ParamsP0_0, &zr12ParamsP0_1, &zr12ParamsP1_0, &zr12ParamsP1_1, &zr12ParamsP2_0,
    &zr12ParamsP2_1, &zr12ParamsP2_2, &zr12ParamsP3_0, &zr12ParamsP3_1, &zr12ParamsP3_2,
    &zr12ParamsP4_0, &zr12ParamsP4_1, &zr12ParamsP5_0, &zr12ParamsP5_1, &zr12ParamsP6_0,
    &zr12ParamsP6_1, &zr12ParamsP7_0, &zr12ParamsP8_0, &zr12ParamsP8_1, &zr12ParamsP9_0,
};
}  // namespace

std::span<const SubgroupParams* const> zr12ParameterTables() { return tablesInLoadOrder; }
