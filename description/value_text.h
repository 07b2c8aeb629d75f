#pragma once
// Value texts of a description ("50.00", "-100.0", "$1A3", "%101", "----", another parameter's
// code) and the texts the table and the in-place editors show for a parameter. Values are signed
// 32-bit integers in units of the last decimal place: 12.34 with two decimals is 1234.

#include <cstdint>
#include <string>
#include <string_view>

#include "description/description.h"

// The stored text meaning "none" (no default, no limit).
inline constexpr std::string_view noValueText = "----";

// Text to integer: "-1.5" -> -15, "$ff" -> 255, "%101" -> 5, "12abc" -> 12, "" and "----" -> 0.
// The decimals written in the text set the scale. A value past the 32-bit range gives the range's
// nearer end: "4294967295" gives 2147483647, never a wrapped number.
std::int32_t parseValueText(std::string_view text);
// The same reading kept in 64 bits, for comparing with limits: "4294967295" stays 4294967295.
std::int64_t parseValueText64(std::string_view text);

// Integer to fixed-point text: (1234, 2) -> "12.34", (-5, 1) -> "-0.5". More than 9 decimals are
// written as 9.
std::string formatFixedPoint(std::int32_t value, std::uint16_t decimals);

// The text of a value in a display format: fixed point (0-9, 50 and above), base-2 digits (10-19),
// "$" and hexadecimal digits (20-29, 40-49), decimal digits (30-39), zero-padded on the left to the
// format's digit count and never cut.
std::string displayText(std::int32_t value, std::uint16_t displayFormat);

// "1: Прямое вращение": the first option of a choice parameter naming the value; empty when none does.
std::string optionText(const Parameter& parameter, std::int32_t value);
// What a value cell or editor shows: the option text of a choice parameter, else the display text.
std::string valueCellText(const Parameter& parameter, std::int32_t value);

// The table's columns that do not depend on a value.
std::string rangeText(const Parameter& parameter);         // "0.00 ... P0.0.07"; empty when a limit is "----"
std::string defaultCellText(const Parameter& parameter);   // the stored default, or the read-only mark
std::string registerAddressText(std::uint16_t address);    // "1024 (0x0400)"
std::string eepromAddressText(const Parameter& parameter); // empty for read-only or when equal to address

// False when the parameter has no default ("----" or an empty text).
bool hasDefault(const Parameter& parameter);

// A limit containing P, F or H is taken to name another parameter by its code.
bool limitNamesParameter(std::string_view limitText);
// The parameter a limit names, or nullptr when it names none (the text is then a plain value:
// "$FFFF" contains an F, matches no code and limits at 65535).
const Parameter* limitTarget(std::string_view limitText);
// The limit as the return key compares it: a named parameter's current value (set value when it is
// writable, read value when read-only) in its own decimals; any other text unchanged.
std::string resolvedLimitText(std::string_view limitText);

// Negative values. A parameter whose minimum is negative, written out or taken from the parameter
// its minimum names, is signed: its register words are two's-complement numbers.
bool isSignedParameter(const Parameter& parameter);
// The value of a 16-bit register word (from the device or a parameter file): sign-extended for a
// signed parameter, 0 to 65535 otherwise.
std::int32_t valueFromRegister(const Parameter& parameter, std::uint16_t word);

// The value a parameter starts with after a load: its parsed default, else its minimum (a named
// parameter's own minimum, as a register word).
std::int32_t initialValue(const Parameter& parameter);
// Sets readValue and setValue of every parameter to its initial value. Returns 0.
int initialValuesFromDefaults();
