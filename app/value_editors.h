#pragma once
// The three value-editor windows, opened for the parameter of the editor context.
//
// The openers take everything from the editor context (app/program_state.h), so the in-place
// editors and the details command open them alike:
// - editKey names the parameter (title, option rows, the in-place editor OK rewrites);
// - editWritable 0 opens a window for viewing only: lists or boxes disabled, only "Закрыть";
// - Digit To Dec shows editValueText (N decimal digits);
// - Digit To Hex shows editSetValue. For viewing only (a read-only parameter of formats 20-29)
//   the caller puts the low 16 bits of readValue into editSetValue;
// - Bit To Hex shows the parameter's setValue, or its readValue for viewing only, and takes its
//   limits from editMinText and editMaxText;
// - "По умолчанию" reads editDefaultText.
// OK writes the cell at (currentRow, currentColumn).

#include "platform/gui/gui.h"

namespace editorctl {
// Digit To Dec Window
inline constexpr int decRowLabel = 133;    // + row 0..4
inline constexpr int decRowList = 138;     // + row 0..4
inline constexpr int decValueLine = 143;
inline constexpr int decOk = 144;
inline constexpr int decCancel = 145;      // "Отмена", or "Закрыть" for viewing only
inline constexpr int decDefault = 146;
// Digit To Hex Window
inline constexpr int hexRowLabel = 147;    // + hexadecimal digit 0..3
inline constexpr int hexRowList = 152;     // + hexadecimal digit 0..3
inline constexpr int hexValueLine = 157;
inline constexpr int hexOk = 158;
inline constexpr int hexCancel = 159;
inline constexpr int hexDefault = 160;
// Bit To Hex Window
inline constexpr int bitNumberLabel = 81;  // + bit 0..15
inline constexpr int bitText = 97;         // + bit 0..15
inline constexpr int bitBox = 113;         // + bit 0..15
inline constexpr int bitValueLine = 129;
inline constexpr int bitOk = 130;
inline constexpr int bitCancel = 131;
inline constexpr int bitDefault = 132;
}  // namespace editorctl

void openDigitToDecWindow();
void openDigitToHexWindow();
void openBitToHexWindow();
void digitToDecEvents(const gui::Event& event);
void digitToHexEvents(const gui::Event& event);
void bitToHexEvents(const gui::Event& event);
// Destroy the window if it exists and give the Main Window back.
void closeDigitToDecWindow();
void closeDigitToHexWindow();
void closeBitToHexWindow();
