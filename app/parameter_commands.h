#pragma once
// The commands that move values between the table and the device and between the table's two
// value columns.

#include <cstdint>

struct Parameter;

// The buttons under the table.
void readAllParameters();
void writeAllParameters();
// A command of the table popups that reads, writes, copies or sets defaults, or shows details;
// false when the number is none of them.
bool tableCommand(int command);

// One parameter's exchange, shown in its row (the row KeyToRow gives for its key).
void readParameterRow(Parameter& parameter);
// Writes setValue to `registerAddress` (the parameter's address or its EEPROM address).
void writeParameterRow(Parameter& parameter, std::uint16_t registerAddress);
// Shows a setValue a command has just changed in the in-place editor and the set cell, and
// colours the row.
void refreshSetValue(Parameter& parameter);
