#pragma once
// One hidden editor per parameter inside the table: a drop-down list for a choice parameter, an
// edit field otherwise, shown over the set cell of the row the user clicked.

#include "platform/gui/gui.h"

struct Parameter;

int createInPlaceEditors();
// The table's hook: hit tests, editor placement, check marks, popups.
void tableSubclassProc(const gui::TableMessage& message);
int placeInPlaceEditor();
int filterNumericInput(int control);
// An event of an in-place editor (control number = optionKey); ignored unless it is the
// current row's editor.
void inPlaceEditorEvent(const gui::Event& event);
// Brings a parameter's editor to its setValue (selection of a choice list, text of a field).
void syncEditorToSetValue(const Parameter& parameter);
