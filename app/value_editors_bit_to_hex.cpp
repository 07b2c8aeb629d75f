// The Bit To Hex Window: a 16-bit field edited bit by bit, each bit a check box with its meaning.

#include <array>
#include <cstdio>

#include "app/program_state.h"
#include "app/value_editors.h"
#include "app/value_editors_window.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "description/integer_text.h"
#include "link/bit_helpers.h"

namespace {
using namespace editorctl;

constexpr int bitCount = 16;

std::array<std::string, bitCount> bitTexts;

std::uint16_t boxesValue()
{
    std::uint16_t value = 0;
    for (int i = 0; i < bitCount; ++i)
        if (gui::state(bitBox + i) != 0)
            value = setBit(value, static_cast<std::uint16_t>(i));
    return value;
}

void showBits(std::uint16_t value)
{
    for (int i = 0; i < bitCount; ++i)
        gui::setState(bitBox + i, testBit(value, static_cast<std::uint16_t>(i)));
}

std::string bitNumberText(int bit)
{
    char text[16];
    std::snprintf(text, sizeof text, "Бит %02d", bit);
    return text;
}

void fillBitTexts()
{
    bitTexts.fill("Резерв");
    for (const BitOption& option : bitOptionsOf(editKey))
        if (option.bitNumber < bitCount)
            bitTexts[option.bitNumber] = option.text;
}

void buildBitRows(bool viewOnly, std::uint16_t shown)
{
    const std::int64_t maximum = integerOfText(editMaxText);
    for (int i = 0; i < bitCount; ++i) {
        gui::label(win::bitToHex, bitNumberLabel + i, {10, 10 + 20 * i, 40, 20}, bitNumberText(i), gui::Align::Right);
        gui::checkBox(win::bitToHex, bitBox + i, {55, 5 + 20 * i, 20, 25}, "");
        gui::label(win::bitToHex, bitText + i, {75, 10 + 20 * i, 320, 20}, bitTexts[static_cast<std::size_t>(i)]);
        gui::enableControl(bitBox + i, !viewOnly && (std::int64_t{1} << i) <= maximum);
    }
    showBits(shown);
}

void buttons(bool viewOnly)
{
    if (viewOnly) {
        gui::button(win::bitToHex, bitCancel, {150, 360, 100, 25}, "Закрыть");
        return;
    }
    gui::button(win::bitToHex, bitOk, {40, 360, 100, 25}, "OK");
    gui::button(win::bitToHex, bitDefault, {150, 360, 100, 25}, "По умолчанию");
    gui::button(win::bitToHex, bitCancel, {260, 360, 100, 25}, "Отмена");
}

// "По умолчанию": the boxes show the default; setValue waits for OK.
void showDefault()
{
    const std::int32_t value = integerOfText(editDefaultText);
    showBits(static_cast<std::uint16_t>(value));
    gui::setText(bitValueLine, valueLinePrefix + editDefaultText + " = " + std::to_string(value));
}

void confirm()
{
    std::int32_t value = boxesValue();
    const std::int32_t minimum = integerOfText(editMinText);
    if (value < minimum)
        value = minimum;
    closeBitToHexWindow();
    if (Parameter* parameter = editedParameter())
        storeEditedValue(*parameter, value, "$" + hexDigits(static_cast<std::uint16_t>(value), 4));
}

}  // namespace

void openBitToHexWindow()
{
    const Parameter* parameter = editedParameter();
    if (!parameter || !openEditorWindow(win::bitToHex, {0, 0, 395, 395}, "Error Open Bit To Hex Window", *parameter))
        return;
    const bool viewOnly = editWritable == 0;
    const auto shown = static_cast<std::uint16_t>(viewOnly ? parameter->readValue : parameter->setValue);
    fillBitTexts();
    buildBitRows(viewOnly, shown);
    gui::label(win::bitToHex, bitValueLine, {15, 335, 300, 20}, hexValueLineText(shown, 4));
    buttons(viewOnly);
    showEditorWindow(win::bitToHex);
}

void bitToHexEvents(const gui::Event& event)
{
    if (!gui::windowExists(win::bitToHex))
        return;
    if (event.kind == gui::EventKind::Close) {
        closeBitToHexWindow();
        return;
    }
    if (event.kind != gui::EventKind::Control)
        return;
    switch (event.id) {
    case bitOk: confirm(); break;
    case bitDefault: showDefault(); break;
    case bitCancel: closeBitToHexWindow(); break;
    default: gui::setText(bitValueLine, hexValueLineText(boxesValue(), 4)); break;
    }
}

void closeBitToHexWindow() { closeEditorWindow(win::bitToHex); }
