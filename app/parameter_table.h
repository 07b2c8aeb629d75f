#pragma once
// The parameter tree (fixed filters, groups, subgroups) and the table of the parameters the
// selected item lets through.

#include <cstdint>
#include <string>
#include <string_view>

// Tree items before the groups.
inline constexpr int treeItemChanged = 0;
inline constexpr int treeItemChecked = 1;
inline constexpr int treeItemAll = 2;

int buildParameterTree();
int refreshTableForTree();
int fillAllParameters();
int fillParameterTable(std::string_view filter);
// Colours the name and read cells of a row; returns 2 when it coloured the name cell, plus 4
// when it coloured the read cell.
std::uint16_t colourTableRow(std::int32_t row, std::int32_t setValue, std::int32_t readValue, std::uint16_t access,
                             const std::string& defaultText);

// Table columns.
namespace column {
inline constexpr int check = 0, code = 1, name = 2, set = 3, read = 4, range = 5, byDefault = 6, address = 7,
                     eepromAddress = 8;
}
