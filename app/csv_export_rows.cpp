#include "app/csv_export.h"

#include "app/parameter_table.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "platform/gui/gui.h"

void gatherExportRows()
{
    exportRows.clear();
    for (const auto& entry : KeyToRow) {
        const std::int32_t row = entry.second;
        const auto cell = [row](int column) { return gui::cellText(ctl::table, row, column); };
        ExportRow& exported = exportRows.append();
        exported.optionKey = RowToKey.read(row);
        exported.codeCell = cell(column::code);
        exported.nameCell = cell(column::name);
        exported.setCell = cell(column::set);
        exported.readCell = cell(column::read);
        exported.rangeCell = cell(column::range);
        exported.defaultCell = cell(column::byDefault);
        exported.addressCell = cell(column::address);
        exported.eepromAddressCell = cell(column::eepromAddress);
    }
    exportRows.sortBy(&ExportRow::optionKey);
}
