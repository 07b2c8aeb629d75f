#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "tests/devices/yv32/yv32_test_support.h"

using namespace description_checks;

namespace {

TEST(Yv33Variant, IsYv32WithTheHoistSubgroupAndItsListedDifferences)
{
    loadModel(Model::yv32);
    const std::map<std::string, StoredParameter> yv32 = parametersByCode();
    loadModel(Model::yv33);
    const std::map<std::string, StoredParameter> yv33 = parametersByCode();

    const std::set<std::string> yv33ShortDiRows = {"P06.01", "P06.02", "P06.03", "P06.04", "P06.05",
                                                   "P06.06", "P06.07", "P06.08", "P06.09", "P06.10",
                                                   "P06.13", "P06.14", "P06.15"};
    std::set<std::string> hoistCodes;
    for (const auto& [code, row] : yv33) {
        const auto twin = yv32.find(code);
        if (twin == yv32.end()) {
            hoistCodes.insert(code);
            EXPECT_EQ(row.parameter.subgroupCode, "59") << code;
            continue;
        }
        Parameter expected = twin->second.parameter;
        if (expected.subgroupCode >= "60")
            expected.optionKey += 21;
        if (yv33ShortDiRows.count(code))
            expected.optionCount = 40;
        if (code == "r06.00" || code == "P06.20")
            expected.name = row.parameter.name;  // checked below
        EXPECT_EQ(paramFields(row.parameter), paramFields(expected)) << code;
        EXPECT_EQ(row.parameter.optionKey, expected.optionKey) << code;
        EXPECT_EQ(row.optionRows, twin->second.optionRows) << code;
    }
    EXPECT_EQ(hoistCodes.size(), 21u);
    EXPECT_EQ(yv33.size(), yv32.size() + 21);

    // r06.00 loses the blank before its parenthesis, P06.20 its trailing blank.
    const std::string& statusYv32 = yv32.at("r06.00").parameter.name;
    const std::string& statusYv33 = yv33.at("r06.00").parameter.name;
    EXPECT_NE(statusYv32.find(" ("), std::string::npos);
    EXPECT_EQ(statusYv33.find(" ("), std::string::npos);
    std::string withoutBlank = statusYv32;
    withoutBlank.erase(withoutBlank.find(" ("), 1);
    EXPECT_EQ(statusYv33, withoutBlank);
    const std::string& inversionYv32 = yv32.at("P06.20").parameter.name;
    EXPECT_TRUE(inversionYv32.ends_with(" "));
    EXPECT_EQ(yv33.at("P06.20").parameter.name, inversionYv32.substr(0, inversionYv32.size() - 1));
}

TEST(Yv33Variant, HoistSubgroupRows)
{
    loadModel(Model::yv33);
    std::size_t rows = 0, values = 0, hex = 0, others = 0;
    std::int32_t firstKey = 0, lastKey = 0;
    for (const Parameter& p : parameters) {
        if (p.subgroupCode != "59")
            continue;
        ++rows;
        firstKey = firstKey ? firstKey : p.optionKey;
        lastKey = p.optionKey;
        values += valueOptionsOf(p.optionKey).size();
        hex += hexDigitOptionsOf(p.optionKey).size();
        others += bitOptionsOf(p.optionKey).size() + decDigitOptionsOf(p.optionKey).size();
        EXPECT_NE(p.access, 0) << p.code;
        EXPECT_EQ(p.access, p.code == "P59.00" || p.code == "P59.01" ? 1 : 2) << p.code;
    }
    EXPECT_EQ(rows, 21u);
    EXPECT_EQ(firstKey, 1648);
    EXPECT_EQ(lastKey, 1668);
    EXPECT_EQ(values, 9u);
    EXPECT_EQ(hex, 4u);
    EXPECT_EQ(others, 0u);
    EXPECT_EQ(valuesOf("P59.17").size(), 3u);
    EXPECT_EQ(param("P59.17").optionCount, 3);
    EXPECT_EQ(param("P59.01").defaultText, "$11");
    // "подъёмным" with ё (U+0451) in P59.00, while the group and subgroup names write е.
    EXPECT_NE(codePoints(param("P59.00").name).find(U'\u0451'), std::u32string::npos);
}

TEST(Yv33Variant, Yv32HasNoHoistRows)
{
    loadModel(Model::yv32);
    for (const Parameter& p : parameters)
        EXPECT_FALSE(p.code.starts_with("P59.")) << p.code;
    for (const ParamGroup& g : paramGroups)
        EXPECT_NE(g.code, "5");
    for (const ParamSubgroup& s : paramSubgroups)
        EXPECT_NE(s.code, "59");
}

}  // namespace
