#include "app/csv_export.h"
#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "platform/gui/gui.h"

namespace {
// Read-only rows have no set text: their line carries the read value.
std::string clipboardLine(const std::string& code, const std::string& name, const std::string& setText,
                          const std::string& readText)
{
    return code + "  " + name + " = " + (setText.empty() ? readText : setText) + "\r";
}
}  // namespace

void copyRowToClipboard()
{
    gui::setClipboardText("");
    const Parameter* parameter = findParameterByKey(RowToKey.read(currentRow));
    if (!parameter)
        return;
    currentOptionKey = parameter->optionKey;
    targetRow = KeyToRow.read(parameter->optionKey);
    const auto cell = [](int column) { return gui::cellText(ctl::table, targetRow, column); };
    gui::setClipboardText(clipboardLine(cell(column::code), cell(column::name), cell(column::set), cell(column::read)));
}

void copyAllToClipboard()
{
    gui::setClipboardText("");
    gatherExportRows();
    std::string text;
    for (const ExportRow& row : exportRows)
        text += clipboardLine(row.codeCell, row.nameCell, row.setCell, row.readCell);
    gui::setClipboardText(text);
}
