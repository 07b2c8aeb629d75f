#pragma once
// The one way the user's edits and commands change a parameter's set value.

#include <cstdint>

struct Parameter;

// Stores the value; one that differs from the parameter's set value is an unsaved change of the
// document, which then must not close or give way to another without the save question. Returns
// whether the value changed.
bool changeSetValue(Parameter& parameter, std::int32_t value);
