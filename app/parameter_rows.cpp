#include <string>

#include "app/comm_window.h"
#include "app/connection_settings.h"
#include "app/in_place_editors.h"
#include "app/main_window.h"
#include "app/parameter_commands.h"
#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "description/value_text.h"
#include "link/modbus_engine.h"
#include "link/modbus_status.h"
#include "link/trace.h"

namespace {

// Sets currentOptionKey and targetRow; every cell update of a command goes to targetRow.
void target(const Parameter& p)
{
    currentOptionKey = p.optionKey;
    targetRow = KeyToRow.read(p.optionKey);
}

void fillRequest(const Parameter& p, std::uint16_t registerAddress)
{
    modbusRequest.deviceAddress = static_cast<std::uint16_t>(leadingNumber(deviceAddressText));
    modbusRequest.startRegister = registerAddress;
    modbusRequest.count = 1;
    modbusRequest.registerTable = p.registerTable;
}

void showExchanged(const Parameter& p)
{
    gui::setCellText(ctl::table, targetRow, column::read, valueCellText(p, p.readValue));
    colourTableRow(targetRow, p.setValue, p.readValue, p.access, p.defaultText);
}

void showFailed() { gui::setCellColour(ctl::table, targetRow, column::code, colourFailed); }

// Whether the value is one 16-bit register word: two's complement for a signed parameter.
bool fitsRegister(const Parameter& p, std::int32_t value)
{
    return isSignedParameter(p) ? value >= -32768 && value <= 32767 : value >= 0 && value <= 65535;
}

}  // namespace

void readParameterRow(Parameter& p)
{
    traceLine("");
    traceLine("Читаем параметр: " + p.code);
    fillRequest(p, p.address);
    target(p);
    modbusRead();
    if (modbusRequest.status != statusGood) {
        showFailed();
        return;
    }
    p.readValue = valueFromRegister(p, modbusRequest.values[0]);
    gui::setCellColour(ctl::table, targetRow, column::code, colourReadWritten);
    // The register word as it came (0-65535); the table shows the parameter's value of it.
    traceLine("Значение регистра: " + std::to_string(modbusRequest.values[0]));
    showExchanged(p);
}

void writeParameterRow(Parameter& p, std::uint16_t registerAddress)
{
    traceLine("");
    traceLine("Записываем параметр: " + p.code);
    target(p);
    // Only the low 16 bits would be sent: the device would get another value than the table shows.
    if (!fitsRegister(p, p.setValue)) {
        traceLine("Значение " + std::to_string(p.setValue) + " не помещается в регистр, запись не выполнена");
        showFailed();
        return;
    }
    fillRequest(p, registerAddress);
    modbusRequest.values[0] = static_cast<std::uint16_t>(p.setValue & 0xFFFF);
    modbusWrite();
    if (modbusRequest.status != statusGood) {
        showFailed();
        return;
    }
    p.readValue = p.setValue;
    gui::setCellColour(ctl::table, targetRow, column::code, colourReadWritten);
    showExchanged(p);
}

void refreshSetValue(Parameter& p)
{
    target(p);
    syncEditorToSetValue(p);
    if (p.optionCount > 0)
        gui::setCellText(ctl::table, targetRow, column::set, valueCellText(p, p.setValue));
    else
        gui::setCellText(ctl::table, targetRow, column::set, gui::text(p.optionKey));
    colourTableRow(targetRow, p.setValue, p.readValue, p.access, p.defaultText);
}
