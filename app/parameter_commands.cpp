#include "app/parameter_commands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/connection.h"
#include "app/connection_settings.h"
#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/set_value_change.h"
#include "app/value_editors.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "description/value_text.h"
#include "link/modbus_request.h"
#include "link/modbus_status.h"
#include "platform/clock/clock.h"
#include "platform/gui/gui.h"
#include "platform/gui/message_box.h"

namespace {

constexpr const char* readAllQuestion =
    "Прочитать все параметры ПЧ?\rЧтение большого количества параметров может затормозить систему и/или ПЧ.\r"
    "Рекомендуется читать при выборе определенной группы или использовать контекстное меню.";
constexpr const char* writeAllQuestion =
    "Записать все параметры текущего списка?\rЗапись большого количества параметров может затормозить систему и/или "
    "ПЧ.\rБудут записаны все параметры, а не только измененные.\rРекомендуется записывать из раздела \"Измененные "
    "параметры\" или использовать контекстное меню.";

bool confirmed(const char* question)
{
    return gui::messageBox("Подтверждение", question, gui::Icon::Question, gui::Buttons::YesNo) == gui::Answer::Yes;
}

// The keys of the rows the table shows now, in the map's order.
std::vector<std::int32_t> shownKeys()
{
    std::vector<std::int32_t> keys;
    keys.reserve(RowToKey.count());
    for (const auto& [row, key] : RowToKey)
        keys.push_back(key);
    return keys;
}

void startProgress(std::size_t rows)
{
    gui::setProgressRange(win::main, static_cast<int>(rows));
    gui::setProgress(win::main, 0);
}

void showProgress(int handled) { gui::setProgress(win::main, handled); }

// The pause after a row, counted from the end of its exchange. The windows catch up in it, so
// painting holds back the next request only when it takes longer than the pause itself.
void pauseAfterRow(std::int64_t rowEndUs)
{
    const std::int64_t pauseUs = 1000 * std::int64_t{115200 / std::max<std::uint32_t>(portBaud, 1)};
    gui::repaintWithoutInput();
    sysclock::sleepMicroseconds(rowEndUs + pauseUs - sysclock::microseconds());
}

// A port found gone or closed: its message box has been shown once; the program disconnects as
// "Отключить" does, log line included.
bool portWasLost()
{
    if (modbusRequest.status != statusPortNotOpen)
        return false;
    disconnectDevice();
    return true;
}

// The parameter of the table row the user clicked.
Parameter* clickedParameter() { return findParameterByKey(RowToKey.read(currentRow)); }

void readCurrent()
{
    logLine(tagPopupReadCurrent);
    if (Parameter* p = clickedParameter()) {
        readParameterRow(*p);
        portWasLost();
    }
}

void writeCurrent(bool toEeprom)
{
    logLine(toEeprom ? tagPopupWriteCurrentEeprom : tagPopupWriteCurrent);
    if (Parameter* p = clickedParameter()) {
        writeParameterRow(*p, toEeprom ? p->eepromAddress : p->address);
        portWasLost();
    }
}

void copyCurrent()
{
    logLine(tagPopupCopyCurrent);
    if (Parameter* p = clickedParameter()) {
        changeSetValue(*p, p->readValue);
        refreshSetValue(*p);
    }
}

void copyAll()
{
    logLine(tagPopupCopyAll);
    for (std::int32_t key : shownKeys()) {
        Parameter* p = findParameterByKey(key);
        if (p && p->access != 0) {
            changeSetValue(*p, p->readValue);
            refreshSetValue(*p);
        }
    }
}

void setDefault()
{
    logLine(tagPopupSetDefault);
    if (Parameter* p = clickedParameter()) {
        changeSetValue(*p, parseValueText(p->defaultText));
        refreshSetValue(*p);
    }
}

// A read-only coded value, opened in its editor window for viewing only.
void showDetails()
{
    Parameter* p = clickedParameter();
    if (!p)
        return;
    editKey = static_cast<std::uint16_t>(p->optionKey);
    editFormat = p->displayFormat;
    editWritable = p->access;
    editCode = p->code;
    const std::uint16_t format = p->displayFormat;
    if (format >= 40 && format <= 49) {
        openBitToHexWindow();
    } else if (format >= 30 && format <= 39) {
        editValueText = displayText(p->readValue, format);
        openDigitToDecWindow();
    } else if (format >= 20 && format <= 29) {
        // The Digit To Hex Window shows editSetValue; here it is the value read.
        editSetValue = static_cast<std::uint16_t>(p->readValue & 0xFFFF);
        editValueText = displayText(p->readValue, format);
        openDigitToHexWindow();
    }
}

}  // namespace

void readAllParameters()
{
    logLine(tagReadParameters);
    if (gui::treeSelected(ctl::tree) == treeItemAll && !confirmed(readAllQuestion))
        return;
    const std::vector<std::int32_t> keys = shownKeys();
    startProgress(keys.size());
    int handled = 0;
    for (std::int32_t key : keys) {
        Parameter* p = findParameterByKey(key);
        if (!p)
            continue;
        readParameterRow(*p);
        const std::int64_t rowEnd = sysclock::microseconds();
        showProgress(++handled);
        if (portWasLost())
            return;
        pauseAfterRow(rowEnd);
    }
}

void writeAllParameters()
{
    logLine(tagWriteParameters);
    if (gui::treeSelected(ctl::tree) != treeItemChanged && !confirmed(writeAllQuestion))
        return;
    const std::vector<std::int32_t> keys = shownKeys();
    startProgress(keys.size());
    int handled = 0;
    for (std::int32_t key : keys) {
        Parameter* p = findParameterByKey(key);
        if (!p)
            continue;
        if (p->access != 0) {
            writeParameterRow(*p, p->address);
            const std::int64_t rowEnd = sysclock::microseconds();
            if (portWasLost()) {
                showProgress(++handled);
                return;
            }
            pauseAfterRow(rowEnd);
        }
        showProgress(++handled);
    }
}

bool tableCommand(int command)
{
    switch (command) {
    case cmd::readCurrent: readCurrent(); return true;
    case cmd::writeCurrent: writeCurrent(false); return true;
    case cmd::writeCurrentEeprom: writeCurrent(true); return true;
    case cmd::copyCurrent: copyCurrent(); return true;
    case cmd::copyAll: copyAll(); return true;
    case cmd::setDefault: setDefault(); return true;
    case cmd::showDetails: showDetails(); return true;
    default: return false;
    }
}
