// The Digit To Hex Window: a value of N hexadecimal digits edited digit by digit, each digit one
// drop-down list of its meanings.

#include <array>

#include "app/program_state.h"
#include "app/value_editors.h"
#include "app/value_editors_window.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "description/integer_text.h"

namespace {
using namespace editorctl;

constexpr int rowCount = 4;
constexpr std::array<std::int32_t, rowCount> rowMasks = {1, 10, 100, 1000};

// Rows that option rows use, and each row's digit as last set from a value: a digit that matches
// no entry is kept on OK instead of dropping to 0.
std::array<bool, rowCount> rowUsed{};
std::array<std::uint32_t, rowCount> keptDigits{};
int digitTotal = 0;  // N

int rowOfMask(std::int32_t digitMask)
{
    for (int k = 0; k < rowCount; ++k)
        if (rowMasks[static_cast<std::size_t>(k)] == digitMask)
            return k;
    return -1;
}

// "$0F0" for the middle digit of three.
std::string maskText(int row)
{
    std::string text(static_cast<std::size_t>(digitTotal), '0');
    text[static_cast<std::size_t>(digitTotal - 1 - row)] = 'F';
    return "$" + text;
}

std::uint32_t digitOf(std::uint32_t value, int row) { return (value >> (4 * row)) & 0xF; }

// Selects in each used row the entry whose field value is the value's digit.
void selectDigits(std::uint32_t value)
{
    for (int k = 0; k < rowCount; ++k) {
        if (!rowUsed[static_cast<std::size_t>(k)])
            continue;
        const std::uint32_t digit = digitOf(value, k);
        keptDigits[static_cast<std::size_t>(k)] = digit;
        const int list = hexRowList + k;
        int match = -1;
        for (int i = 0, n = gui::itemCount(list); i < n && match < 0; ++i)
            if (static_cast<std::uint32_t>(gui::itemData(list, i)) == digit)
                match = i;
        gui::setState(list, match);
    }
}

std::uint32_t currentValue()
{
    std::uint32_t value = 0;
    for (int k = rowCount - 1; k >= 0; --k) {
        if (!rowUsed[static_cast<std::size_t>(k)])
            continue;
        const int list = hexRowList + k;
        const int selected = gui::state(list);
        const std::uint32_t digit =
            selected >= 0 ? static_cast<std::uint32_t>(integerOfText("$" + gui::itemText(list, selected).substr(0, 1))) & 0xF
                          : keptDigits[static_cast<std::size_t>(k)];
        value |= digit << (4 * k);
    }
    return value;
}

void buttons(bool viewOnly)
{
    if (viewOnly) {
        gui::button(win::digitToHex, hexCancel, {175, 260, 100, 25}, "Закрыть");
        return;
    }
    gui::button(win::digitToHex, hexOk, {65, 260, 100, 25}, "OK");
    gui::button(win::digitToHex, hexDefault, {175, 260, 100, 25}, "По умолчанию");
    gui::button(win::digitToHex, hexCancel, {285, 260, 100, 25}, "Отмена");
}

void fillRows(bool viewOnly)
{
    rowUsed.fill(false);
    keptDigits.fill(0);
    for (int k = 0; k < rowCount; ++k) {
        gui::label(win::digitToHex, hexRowLabel + k, {10, 10 + 55 * k, 430, 20}, "");
        gui::comboBox(win::digitToHex, hexRowList + k, {10, 30 + 55 * k, 430, 22});
        gui::showControl(hexRowList + k, false);
        gui::enableControl(hexRowList + k, !viewOnly);
    }
    for (const HexDigitOption& option : hexDigitOptionsOf(editKey)) {
        const int k = rowOfMask(option.digitMask);
        // A digit beyond the format's N has no place in the value.
        if (k < 0 || k >= digitTotal)
            continue;
        const int list = hexRowList + k;
        gui::showControl(list, true);
        gui::setText(hexRowLabel + k, maskText(k) + " : " + option.fieldName);
        gui::addItem(list, hexDigits(option.fieldValue, 1) + " : " + option.valueText, option.fieldValue);
        rowUsed[static_cast<std::size_t>(k)] = true;
    }
    selectDigits(editSetValue);
}

// "По умолчанию": the controls show the default; setValue waits for OK.
void showDefault()
{
    const auto value = static_cast<std::uint32_t>(integerOfText(editDefaultText));
    selectDigits(value);
    gui::setText(hexValueLine, valueLinePrefix + editDefaultText + " = " + std::to_string(integerOfText(editDefaultText)));
}

void confirm()
{
    const std::uint32_t value = currentValue();
    closeDigitToHexWindow();
    if (Parameter* parameter = editedParameter())
        storeEditedValue(*parameter, static_cast<std::int32_t>(value), "$" + hexDigits(value, digitTotal));
}

}  // namespace

void openDigitToHexWindow()
{
    const Parameter* parameter = editedParameter();
    if (!parameter || !openEditorWindow(win::digitToHex, {0, 0, 450, 300}, "Error Open Digit To Hex Window", *parameter))
        return;
    const bool viewOnly = editWritable == 0;
    digitTotal = editFormat >= 20 && editFormat < 30 ? editFormat - 20 : 4;
    fillRows(viewOnly);
    gui::label(win::digitToHex, hexValueLine, {10, 230, 300, 20}, hexValueLineText(editSetValue, digitTotal));
    buttons(viewOnly);
    showEditorWindow(win::digitToHex);
}

void digitToHexEvents(const gui::Event& event)
{
    if (!gui::windowExists(win::digitToHex))
        return;
    if (event.kind == gui::EventKind::Close) {
        closeDigitToHexWindow();
        return;
    }
    if (event.kind != gui::EventKind::Control)
        return;
    switch (event.id) {
    case hexOk: confirm(); break;
    case hexDefault: showDefault(); break;
    case hexCancel: closeDigitToHexWindow(); break;
    default: gui::setText(hexValueLine, hexValueLineText(currentValue(), digitTotal)); break;
    }
}

void closeDigitToHexWindow() { closeEditorWindow(win::digitToHex); }
