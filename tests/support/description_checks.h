#pragma once
// Shared by the tests of every device description: the invariants each loader keeps, lookups that
// fail the test when a code names no parameter, counts over the loaded parameters, and the loaded
// lists as text for holding one load against another.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "description/description_store.h"

namespace description_checks {

// The parameter with the code. Throws when there is none, so the test stops with the code named
// instead of reading the option rows of a parameter that is not there.
const Parameter& param(std::string_view code);

// The text of the parameter's value row for `value`; "<none>" when it has no such row.
std::string valueText(std::string_view code, std::uint16_t value);

// The code points of a UTF-8 text, so that look-alike letters and signs can be told apart.
std::u32string codePoints(std::string_view text);

// Parameters whose code starts with prefix ("P2", "P2.1", "").
std::size_t countWithPrefix(std::string_view prefix);

// Parameters with optionCount above 0.
int choiceParameterCount();

// Codes of the parameters with the display format, in list order.
std::vector<std::string> codesWithFormat(int format);

// How many parameters give each value of a field: a member such as &Parameter::access, or a
// function of the parameter.
template <class Field>
std::map<int, int> histogram(Field field)
{
    std::map<int, int> counts;
    for (const Parameter& p : parameters)
        ++counts[static_cast<int>(std::invoke(field, p))];
    return counts;
}

// The description's one LinkDefaults row, field for field; a fatal failure when there is not
// exactly one row.
void expectLinkDefaults(const LinkDefaults& expected);

// Keys 1000, 1001, ... in list order without a gap, and currentOptionKey left on the last one.
void expectKeysRunFrom1000();

// No code names two parameters: a lookup by code finds only the first.
void expectCodesUnique();

// Each option row carries the key of an existing parameter, the rows of one key form one run, and
// the runs follow the parameters' order (a loader appends rows right after their parameter).
void expectOptionRowsInRunsOfExistingKeys();

// The option lists holding rows under the parameter's key, as letters: V value, B bit, D decimal
// digit, H hexadecimal digit ("" for none).
std::string optionKindsOf(const Parameter& p);

// The lists the parameter's kind calls for, in the letters of optionKindsOf: a choice its value
// rows, display format 20+N hexadecimal digit fields, 30+N decimal digit fields, 40+N named bits.
std::string optionKindsCalledFor(const Parameter& p);

// Every parameter carries the option rows its kind calls for and no others; a choice has display
// format 0 and one value row per option, except the codes in choicesOfferingFewerRows, whose
// optionCount offers only the first of their rows.
void expectOptionKindsFollowTheDisplayFormat(const std::set<std::string>& choicesOfferingFewerRows = {});

// Keys, unique codes, option-row runs and option kinds together: what every finished load into an
// emptied store guarantees.
void expectLoaderInvariants(const std::set<std::string>& choicesOfferingFewerRows = {});

// Every record of the description and the last key, one line each, for comparing two loads.
std::string dumpDescription();

// Success when two dumps are equal; otherwise a failure naming the first line where they part,
// which reads better than two dumps of thousands of lines.
::testing::AssertionResult sameDump(const std::string& actual, const std::string& expected);

// A parameter's fields apart from its key, as text.
std::string paramFields(const Parameter& p);

// The option rows of a key, without the key, as text.
std::string optionRowsOf(std::int32_t key);

// A parameter with its option rows, kept after the store moves on to another load.
struct StoredParameter {
    Parameter parameter;
    std::string optionRows;  // optionRowsOf its key
};

// The loaded parameters by code, for holding one model or load against another row by row.
std::map<std::string, StoredParameter> parametersByCode();

// The description loaded now equals what `load` gives after clearDeviceDescription.
void expectSecondLoadAfterClearingIsIdentical(int (*load)());

}  // namespace description_checks
