#pragma once
// The commands that move values between the table and the device and between the table's two
// value columns, and the File commands on documents.

// The buttons under the table.
void readAllParameters();
void writeAllParameters();
// A command of a table popup or of the File menu (open, save, save as, export); false when the
// number is none of them.
bool tableCommand(int command);
