#pragma once
// The commands that move values between the table and the device and between the table's two
// value columns.

// The buttons under the table.
void readAllParameters();
void writeAllParameters();
// A command of the table popups that reads, writes, copies or sets defaults, or shows details;
// false when the number is none of them.
bool tableCommand(int command);
