#pragma once
// Helpers of the Zr48 and Zr48X description tests: loading into an emptied store, codes and code
// ranges of the F/U/H scheme, and the checks that hold for both models.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "description/description_store.h"
#include "devices/zr48/loaders.h"
#include "tests/support/description_checks.h"

namespace zr48test {

inline void loadZr48()
{
    clearDeviceDescription();
    loadDescriptionZr48();
}

inline void loadZr48X()
{
    clearDeviceDescription();
    loadDescriptionZr48X();
}

inline bool isParameterCode(const std::string& text)
{
    return text.size() == 6 && (text[0] == 'F' || text[0] == 'U' || text[0] == 'H') && text[3] == '.';
}

// "F04.00".."F04.09" and the like.
inline std::vector<std::string> codeRange(const char* subgroup, int first, int last)
{
    std::vector<std::string> codes;
    for (int i = first; i <= last; ++i)
        codes.push_back(std::string(subgroup) + (i < 10 ? ".0" : ".") + std::to_string(i));
    return codes;
}

// What every Zr48 or Zr48X load guarantees beyond the invariants of every loader: keys up to
// lastKey, only value and decimal digit rows, holding registers only, and no run-time values.
inline void expectZr48FamilyInvariants(std::int32_t lastKey)
{
    EXPECT_EQ(parameters.size(), static_cast<std::size_t>(lastKey - 999));
    EXPECT_EQ(currentOptionKey, lastKey);
    description_checks::expectLoaderInvariants();
    for (const Parameter& p : parameters) {
        EXPECT_EQ(p.registerTable, tableHoldingRegisters) << p.code;
        EXPECT_EQ(p.readValue, 0) << p.code;
        EXPECT_EQ(p.setValue, 0) << p.code;
    }
    EXPECT_TRUE(bitOptions.empty());
    EXPECT_TRUE(hexDigitOptions.empty());
}

// A digit word of format 30 + n: n one-digit fields, masks 1, 10, ... units first, each with the
// values 0 up to the field's digit of the maximum.
inline void expectDigitWord(const Parameter& p)
{
    const int digitCount = p.displayFormat - 30;
    const auto rows = decDigitOptionsOf(p.optionKey);
    ASSERT_EQ(static_cast<int>(p.maxText.size()), digitCount) << p.code;
    std::size_t at = 0;
    int mask = 1;
    for (int field = 0; field < digitCount; ++field, mask *= 10) {
        const int highest = p.maxText[p.maxText.size() - 1 - field] - '0';
        for (int value = 0; value <= highest; ++value, ++at) {
            ASSERT_LT(at, rows.size()) << p.code;
            EXPECT_EQ(rows[at].digitMask, mask) << p.code;
            EXPECT_EQ(rows[at].fieldValue, value) << p.code;
            EXPECT_FALSE(rows[at].valueText.empty()) << p.code;
            EXPECT_FALSE(rows[at].fieldName.empty()) << p.code;
        }
    }
    EXPECT_EQ(at, rows.size()) << p.code;
}

}  // namespace zr48test
