#pragma once
// The option-table procedures of the Yv20 description, over the tables of the Zr12 design. Each
// works on the parameter appended last, stores the listed fields on it, then appends the table's
// rows under currentOptionKey; none changes the key. All return 0.

int fillDiFunctionOptionsYv20();     // optionCount 61
int fillDoFunctionOptionsYv20();     // optionCount 60
int fillAoFunctionOptionsYv20();     // optionCount 21, displayFormat 0, minText "0", maxText "20"
int fillAiDiFunctionOptionsYv20();   // optionCount 60, displayFormat 0, minText "0", maxText "59"
int fillStagePropertyDigitsYv20();   // no field
int fillRelayWordBDigitsYv20();      // no field
int fillRelayWordCDigitsYv20();      // no field
int fillFaultTypeOptionsYv20();      // optionCount 41, displayFormat 0, minText "0", maxText "40"
int fillUserFunctionOptionsYv20();   // no field: the loader stores the count
