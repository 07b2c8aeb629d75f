#include "app/parameter_table.h"

#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "description/value_text.h"
#include "platform/gui/gui.h"

namespace {
constexpr std::string_view filterChanged = "#Changed";
constexpr std::string_view filterChecked = "#Check";

bool passes(const Parameter& p, std::string_view filter)
{
    if (filter == filterChanged)
        return p.access != 0 && p.setValue != p.readValue;
    if (filter == filterChecked)
        return CheckedKeys.read(p.optionKey) != 0;
    return p.subgroupCode == filter;
}
}  // namespace

int buildParameterTree()
{
    gui::treeClear(ctl::tree);
    gui::treeAddItem(ctl::tree, 0, "Измененные параметры", colourChanged);
    gui::treeAddItem(ctl::tree, 0, "Отмеченные параметры");
    gui::treeAddItem(ctl::tree, 0, "Все параметры");
    for (ParamGroup& group : paramGroups) {
        group.treeItem = gui::treeAddItem(ctl::tree, 1, "Группа " + group.code + " - " + group.name);
        for (ParamSubgroup& subgroup : paramSubgroups)
            if (subgroup.groupCode == group.code && subgroup.code != group.code)
                subgroup.treeItem = gui::treeAddItem(ctl::tree, 2, subgroup.code + " - " + subgroup.name);
    }
    gui::treeExpandAll(ctl::tree);
    gui::treeSelect(ctl::tree, treeItemAll);
    return 0;
}

int refreshTableForTree()
{
    showWaitWindow(true);
    RowToKey.clear();
    KeyToRow.clear();
    targetRow = 0;
    gui::tableClearRows(ctl::table);
    const int selected = gui::treeSelected(ctl::tree);
    if (selected == treeItemChanged) {
        logLine(tagTreeChanged);
        fillParameterTable(filterChanged);
    } else if (selected == treeItemChecked) {
        logLine(tagTreeChecked);
        fillParameterTable(filterChecked);
    } else if (selected == treeItemAll) {
        logLine(tagTreeAll);
        fillAllParameters();
    } else {
        logLine(std::string(tagTreeItem) + gui::treeItemText(ctl::tree, selected));
        const ParamGroup* group = nullptr;
        for (const ParamGroup& g : paramGroups)
            if (g.treeItem == selected && selected > treeItemAll) {
                group = &g;
                break;
            }
        if (group) {
            for (const ParamSubgroup& subgroup : paramSubgroups)
                if (subgroup.groupCode == group->code)
                    fillParameterTable(subgroup.code);
        } else {
            for (const ParamSubgroup& subgroup : paramSubgroups)
                if (subgroup.treeItem == selected && selected > treeItemAll) {
                    fillParameterTable(subgroup.code);
                    break;
                }
        }
    }
    showWaitWindow(false);
    return 0;
}

int fillAllParameters()
{
    gui::tableClearRows(ctl::table);
    for (const ParamGroup& group : paramGroups)
        for (const ParamSubgroup& subgroup : paramSubgroups)
            if (subgroup.groupCode == group.code)
                fillParameterTable(subgroup.code);
    return 0;
}

int fillParameterTable(std::string_view filter)
{
    for (const Parameter& p : parameters) {
        if (!passes(p, filter))
            continue;
        const int row = gui::tableAppendRow(ctl::table);
        gui::setCellText(ctl::table, row, column::code, p.code);
        gui::setCellText(ctl::table, row, column::name, p.name);
        gui::setCellText(ctl::table, row, column::range, rangeText(p));
        gui::setCellText(ctl::table, row, column::byDefault, defaultCellText(p));
        gui::setCellText(ctl::table, row, column::address, registerAddressText(p.address));
        gui::setCellText(ctl::table, row, column::eepromAddress, eepromAddressText(p));
        if (p.access != 0)
            gui::setCellText(ctl::table, row, column::set, gui::text(p.optionKey));
        gui::setCellText(ctl::table, row, column::read, valueCellText(p, p.readValue));
        RowToKey.write(targetRow, p.optionKey);
        KeyToRow.write(p.optionKey, targetRow);
        if (CheckedKeys.read(p.optionKey) != 0)
            gui::setRowChecked(ctl::table, row, true);
        colourTableRow(targetRow, p.setValue, p.readValue, p.access, p.defaultText);
        ++targetRow;
    }
    return 0;
}

std::uint16_t colourTableRow(std::int32_t row, std::int32_t setValue, std::int32_t readValue, std::uint16_t access,
                             const std::string& defaultText)
{
    std::uint16_t flags = 0;
    if (access != 0 && setValue != readValue) {
        gui::setCellColour(ctl::table, row, column::name, colourChanged);
        flags += 2;
    } else {
        gui::setCellColour(ctl::table, row, column::name, gui::Rgb::none());
    }
    if (access != 0 && readValue != parseValueText(defaultText)) {
        // An empty default means none, as "----" does.
        if (defaultText != noValueText && !defaultText.empty()) {
            gui::setCellColour(ctl::table, row, column::read, colourNotDefault);
            flags += 4;
        }
    } else {
        gui::setCellColour(ctl::table, row, column::read, gui::Rgb::none());
    }
    return flags;
}
