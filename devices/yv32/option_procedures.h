#pragma once
// The option-table procedures of the Yv32/Yv33 design. Each works on the Parameter appended last:
// it stores that parameter's optionCount and nothing else, then appends its full list under
// currentOptionKey. The Yv33 DI procedure offers only the first 40 of the 56 functions.

int fillDiFunctionOptionsYv32();
int fillDiFunctionOptionsYv33();
int fillDoFunctionOptionsYv32();
int fillDoFunctionOptionsYv33();
