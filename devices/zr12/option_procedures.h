#pragma once
// The option-table procedures of the Zr12 and Zr24 descriptions. Each works on the parameter
// appended last, stores the listed fields on it, then appends its table's rows under
// currentOptionKey; none changes the key. All return 0.

// optionCount 61, displayFormat 0, minText "0", maxText "60"; the 61 digital-input functions.
int fillDiFunctionOptionsZr12();
// optionCount 61 only; the same rows.
int fillDiFunctionOptionsZr24();

// optionCount 41, displayFormat 0, minText "0", maxText "40"; the 41 fault types.
int fillFaultTypeOptionsZr12();
int fillFaultTypeOptionsZr24();

// optionCount 416; the 416 user-function rows.
int fillUserFunctionOptionsZr12();
// optionCount 415; the same rows without 2000, the digital input the Zr24 lacks.
int fillUserFunctionOptionsZr24();

// No field; the 17 stage property rows, the 150 rows of relay word B, the 120 of relay word C.
int fillStagePropertyDigitsZr12();
int fillStagePropertyDigitsZr24();
int fillRelayWordBDigitsZr12();
int fillRelayWordBDigitsZr24();
int fillRelayWordCDigitsZr12();
int fillRelayWordCDigitsZr24();
