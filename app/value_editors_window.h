#pragma once
// What the three value-editor windows share: opening and closing, the edited parameter, storing
// the value OK confirms, and the texts of values.

#include <cstdint>
#include <string>

#include "platform/gui/gui.h"

struct Parameter;

// The parameter of the editor context, or nullptr when editKey names none.
Parameter* editedParameter();

// Opens the window titled with the parameter's code and name, owned by the Main Window and centred
// on it. A window that cannot be opened ends the program after its message.
bool openEditorWindow(int window, gui::Rect inner, const char* failureText, const Parameter& parameter);
// Disables the Main Window and makes the editor the active window.
void showEditorWindow(int window);
void closeEditorWindow(int window);

// OK: the parameter's setValue, its set cell and its in-place editor take the value; the row is
// coloured, and a value that changed marks the document modified.
void storeEditedValue(Parameter& parameter, std::int32_t value, const std::string& text);

// Upper-case hexadecimal / decimal digits padded on the left with "0" to at least `width`.
std::string hexDigits(std::uint32_t value, int width);
std::string decimalDigits(std::int64_t value, int width);
// "Значение = $01A3 = 419" for a hexadecimal value line.
std::string hexValueLineText(std::uint32_t value, int width);

inline constexpr const char* valueLinePrefix = "Значение = ";
