// The Digit To Dec Window: a value of N decimal digits edited field by field, each field one
// drop-down list covering one to four neighbouring digits.

#include <array>
#include <string_view>

#include "app/program_state.h"
#include "app/value_editors.h"
#include "app/value_editors_window.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "description/integer_text.h"

namespace {
using namespace editorctl;

constexpr int rowCount = 5;

struct FieldShape {
    std::int32_t digitMask;
    int row;    // the lowest digit position the field covers
    int width;  // digits covered
    const char* labelPrefix;
};

constexpr std::array<FieldShape, 14> fieldShapes = {{
    {1, 0, 1, "Единицы: "},
    {10, 1, 1, "Десятки: "},
    {100, 2, 1, "Сотни: "},
    {1000, 3, 1, "Тысячи: "},
    {10000, 4, 1, "Десятки тысяч: "},
    {11, 0, 2, "Единицы, десятки: "},
    {110, 1, 2, "Десятки, сотни: "},
    {1100, 2, 2, "Сотни, тысячи: "},
    {11000, 3, 2, "Тысячи, десятки тысяч: "},
    {111, 0, 3, "Единицы, десятки, сотни: "},
    {1110, 1, 3, "Десятки, сотни, тысячи: "},
    {11100, 2, 3, "Сотни, тысячи, десятки тысяч: "},
    {1111, 0, 4, "Единицы, десятки, сотни, тысячи: "},
    {11110, 1, 4, "Десятки, сотни, тысячи, десятки тысяч: "},
}};

// Digits covered by each row's field (0: no field uses the row), and the number each field's
// digits formed when they were last set from a text: a field whose digits match no entry keeps
// them on OK instead of dropping them to 0.
std::array<int, rowCount> rowDigitCount{};
std::array<std::int32_t, rowCount> keptDigits{};
int digitTotal = 0;  // N

const FieldShape* shapeOf(std::int32_t digitMask)
{
    for (const FieldShape& shape : fieldShapes)
        if (shape.digitMask == digitMask)
            return &shape;
    return nullptr;
}

std::string paddedToN(std::string_view text)
{
    std::string padded(text);
    if (static_cast<int>(padded.size()) < digitTotal)
        padded.insert(0, static_cast<std::size_t>(digitTotal) - padded.size(), '0');
    return padded;
}

// The number formed by the digits of a field in a value text, the units being its last character.
std::int32_t fieldNumber(std::string_view valueText, int row, int width)
{
    const std::string padded = paddedToN(valueText);
    const int end = static_cast<int>(padded.size()) - row;
    const int start = end - width;
    if (end <= 0)
        return 0;
    const int from = start < 0 ? 0 : start;
    return integerOfText(std::string_view(padded).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(end - from)));
}

std::int32_t currentValue()
{
    std::int32_t value = 0;
    std::int32_t scale = 1;
    for (int row = 0; row < rowCount; ++row, scale *= 10) {
        const int width = rowDigitCount[static_cast<std::size_t>(row)];
        if (width == 0)
            continue;
        const int list = decRowList + row;
        const int selected = gui::state(list);
        const std::int32_t field =
            selected >= 0 ? integerOfText(gui::itemText(list, selected).substr(0, static_cast<std::size_t>(width)))
                          : keptDigits[static_cast<std::size_t>(row)];
        value += field * scale;
    }
    return value;
}

void buttons(bool viewOnly)
{
    if (viewOnly) {
        gui::button(win::digitToDec, decCancel, {175, 315, 100, 25}, "Закрыть");
        return;
    }
    gui::button(win::digitToDec, decOk, {65, 315, 100, 25}, "OK");
    gui::button(win::digitToDec, decDefault, {175, 315, 100, 25}, "По умолчанию");
    gui::button(win::digitToDec, decCancel, {285, 315, 100, 25}, "Отмена");
}

void fillRows(bool viewOnly)
{
    rowDigitCount.fill(0);
    for (int row = 0; row < rowCount; ++row) {
        gui::label(win::digitToDec, decRowLabel + row, {10, 10 + 55 * row, 430, 20}, "");
        gui::comboBox(win::digitToDec, decRowList + row, {10, 30 + 55 * row, 430, 22});
        gui::showControl(decRowList + row, false);
        gui::enableControl(decRowList + row, !viewOnly);
    }
    for (const DecDigitOption& option : decDigitOptionsOf(editKey)) {
        const FieldShape* shape = shapeOf(option.digitMask);
        if (!shape)
            continue;
        const int list = decRowList + shape->row;
        gui::showControl(list, true);
        gui::setText(decRowLabel + shape->row, std::string(shape->labelPrefix) + option.fieldName);
        gui::addItem(list, std::to_string(option.fieldValue) + " : " + option.valueText, option.fieldValue);
        rowDigitCount[static_cast<std::size_t>(shape->row)] = shape->width;
        const std::int32_t digits = fieldNumber(editValueText, shape->row, shape->width);
        keptDigits[static_cast<std::size_t>(shape->row)] = digits;
        if (option.fieldValue == digits)
            gui::setState(list, gui::itemCount(list) - 1);
    }
}

// "По умолчанию": the controls show the default; setValue waits for OK.
void showDefault()
{
    const std::string padded = paddedToN(editDefaultText);
    gui::setText(decValueLine, valueLinePrefix + padded);
    for (int row = 0; row < rowCount; ++row) {
        const int width = rowDigitCount[static_cast<std::size_t>(row)];
        if (width == 0)
            continue;
        const std::int32_t digits = fieldNumber(padded, row, width);
        keptDigits[static_cast<std::size_t>(row)] = digits;
        const int list = decRowList + row;
        int match = -1;
        for (int i = 0, n = gui::itemCount(list); i < n && match < 0; ++i)
            if (integerOfText(gui::itemText(list, i)) == digits)
                match = i;
        gui::setState(list, match);
    }
}

void confirm()
{
    const std::int32_t value = currentValue();
    closeDigitToDecWindow();
    if (Parameter* parameter = editedParameter())
        storeEditedValue(*parameter, value, decimalDigits(value, digitTotal));
}

}  // namespace

void openDigitToDecWindow()
{
    const Parameter* parameter = editedParameter();
    if (!parameter || !openEditorWindow(win::digitToDec, {0, 0, 450, 355}, "Error Open Digit To Dec Window", *parameter))
        return;
    const bool viewOnly = editWritable == 0;
    digitTotal = editFormat >= 30 && editFormat < 40 ? editFormat - 30 : rowCount;
    fillRows(viewOnly);
    gui::label(win::digitToDec, decValueLine, {10, 285, 250, 20}, valueLinePrefix + editValueText);
    buttons(viewOnly);
    showEditorWindow(win::digitToDec);
}

void digitToDecEvents(const gui::Event& event)
{
    if (!gui::windowExists(win::digitToDec))
        return;
    if (event.kind == gui::EventKind::Close) {
        closeDigitToDecWindow();
        return;
    }
    if (event.kind != gui::EventKind::Control)
        return;
    switch (event.id) {
    case decOk: confirm(); break;
    case decDefault: showDefault(); break;
    case decCancel: closeDigitToDecWindow(); break;
    default: gui::setText(decValueLine, valueLinePrefix + decimalDigits(currentValue(), digitTotal)); break;
    }
}

void closeDigitToDecWindow() { closeEditorWindow(win::digitToDec); }
