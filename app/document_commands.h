#pragma once
// The File commands on documents (open, save, save as, CSV export) and the clipboard copies of
// the table popups.

// False when the command number is none of them.
bool documentCommand(int command);
