#pragma once
// Shared helpers of the Zr48 and Zr48X description tests: loading from an empty description, code
// points of stored texts, histograms, and a copy of every description list for comparing loads.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/description_store.h"
#include "devices/zr48/loaders.h"

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

// The code points of a UTF-8 text, so that look-alike letters and signs can be told apart.
inline std::u32string codePoints(const std::string& text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

inline const Parameter& param(const char* code)
{
    const Parameter* p = findParameterByCode(code);
    if (!p) {
        ADD_FAILURE() << "no parameter " << code;
        static const Parameter none{};
        return none;
    }
    return *p;
}

inline std::map<int, int> histogram(const std::function<int(const Parameter&)>& field)
{
    std::map<int, int> counts;
    for (const Parameter& p : parameters)
        ++counts[field(p)];
    return counts;
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

// Everything one load appended, for comparing two loads.
struct Snapshot {
    std::vector<std::tuple<std::string, std::string>> groups;
    std::vector<std::tuple<std::string, std::string, std::string>> subgroups;
    std::vector<std::string> parameterLines;
    std::vector<std::tuple<std::int32_t, std::uint16_t, std::string>> values;
    std::vector<std::tuple<std::int32_t, std::int32_t, std::uint16_t, std::string, std::string>> digits;
    std::string modelName;
    std::int32_t lastKey = 0;

    bool operator==(const Snapshot&) const = default;
};

inline Snapshot takeSnapshot()
{
    Snapshot s;
    s.modelName = currentModelName;
    s.lastKey = currentOptionKey;
    for (const ParamGroup& g : paramGroups)
        s.groups.emplace_back(g.code, g.name);
    for (const ParamSubgroup& g : paramSubgroups)
        s.subgroups.emplace_back(g.groupCode, g.code, g.name);
    for (const Parameter& p : parameters) {
        std::string line = p.subgroupCode + "|" + p.code + "|" + p.name + "|" + p.defaultText + "|" + p.minText + "|" +
                           p.maxText;
        for (int n : {int(p.optionCount), int(p.optionKey), int(p.displayFormat), int(p.address),
                      int(p.eepromAddress), int(p.registerTable), int(p.access), p.readValue, p.setValue})
            line += "|" + std::to_string(n);
        s.parameterLines.push_back(line);
    }
    for (const ValueOption& v : valueOptions)
        s.values.emplace_back(v.optionKey, v.value, v.text);
    for (const DecDigitOption& d : decDigitOptions)
        s.digits.emplace_back(d.optionKey, d.digitMask, d.fieldValue, d.valueText, d.fieldName);
    return s;
}

// What every finished load guarantees: keys 1000..lastKey in list order without gap, the run key
// left on the last one, and each option row after its own parameter, the rows of a key together.
inline void expectLoaderInvariants(std::int32_t lastKey)
{
    ASSERT_EQ(parameters.size(), static_cast<std::size_t>(lastKey - 999));
    for (std::size_t i = 0; i < parameters.size(); ++i)
        ASSERT_EQ(parameters[i].optionKey, 1000 + static_cast<std::int32_t>(i)) << parameters[i].code;
    EXPECT_EQ(currentOptionKey, lastKey);

    std::map<std::string, int> codes;
    for (const Parameter& p : parameters)
        EXPECT_EQ(++codes[p.code], 1) << "code twice: " << p.code;

    auto checkRuns = [&](const auto& list, const char* what) {
        std::int32_t previous = 0;
        for (const auto& row : list) {
            // Keys never go back, so the rows of one key form one run and each follows its parameter.
            EXPECT_GE(row.optionKey, previous) << what;
            EXPECT_GE(row.optionKey, 1000) << what;
            EXPECT_LE(row.optionKey, lastKey) << what;
            previous = row.optionKey;
        }
    };
    checkRuns(valueOptions, "ValueOption");
    checkRuns(decDigitOptions, "DecDigitOption");

    for (const Parameter& p : parameters) {
        const auto values = valueOptionsOf(p.optionKey);
        const auto digits = decDigitOptionsOf(p.optionKey);
        EXPECT_FALSE(!values.empty() && !digits.empty()) << p.code;
        if (p.optionCount > 0) {
            EXPECT_EQ(p.displayFormat, 0) << p.code;
            EXPECT_EQ(values.size(), p.optionCount) << p.code;
        } else {
            EXPECT_TRUE(values.empty()) << p.code;
        }
        EXPECT_EQ(!digits.empty(), p.displayFormat >= 30 && p.displayFormat < 40) << p.code;
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
