#pragma once
// Register addresses of a P-scheme parameter, computed from its code "Pg.s.ii".

#include <string_view>

#include "description/loader_kit.h"

// The rule register R = g x 4096 + s x 256 + ii; address = R + 0x400; eepromAddress = R, except in the
// monitor group P9, which has no EEPROM copy (0). Three runs of codes sit off the rule by one
// register. A text that is not a parameter code gives all zeros.
RegisterFields pSchemeRegisters(std::string_view code);
