#include "tests/devices/zr48/zr48_test_support.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "description/loader_kit.h"
#include "devices/zr48/option_procedures.h"

namespace {

using namespace description_checks;
using namespace zr48test;

// "0-24, 30-36" as the list of values.
std::vector<int> valueRuns(std::initializer_list<std::pair<int, int>> runs)
{
    std::vector<int> values;
    for (auto [first, last] : runs)
        for (int v = first; v <= last; ++v)
            values.push_back(v);
    return values;
}

struct ProcedureCase {
    const char* name;
    OptionProcedure procedure;
    std::vector<int> values;
};

const std::vector<ProcedureCase>& procedureCases()
{
    static const std::vector<ProcedureCase> cases = {
        {"DiZr48", zr48::fillDiFunctionOptionsZr48, valueRuns({{0, 39}, {50, 56}})},
        {"DiZr48X", zr48::fillDiFunctionOptionsZr48X, valueRuns({{0, 39}, {50, 56}, {58, 58}})},
        {"DoZr48", zr48::fillDoFunctionOptionsZr48, valueRuns({{0, 24}, {30, 36}})},
        {"DoZr48X", zr48::fillDoFunctionOptionsZr48X, valueRuns({{0, 24}, {26, 28}, {30, 42}})},
        {"VdoZr48", zr48::fillVdoFunctionOptionsZr48, valueRuns({{0, 24}, {30, 36}})},
        {"VdoZr48X", zr48::fillVdoFunctionOptionsZr48X, valueRuns({{0, 24}, {26, 28}, {30, 42}})},
        {"AoZr48", zr48::fillAoFunctionOptionsZr48, valueRuns({{0, 13}})},
        {"AoZr48X", zr48::fillAoFunctionOptionsZr48X, valueRuns({{0, 13}})},
        {"KeypadZr48", zr48::fillKeypadDisplayOptionsZr48, valueRuns({{0, 37}})},
        {"KeypadZr48X", zr48::fillKeypadDisplayOptionsZr48X, valueRuns({{0, 37}})},
        {"FaultZr48", zr48::fillFaultCodeOptionsZr48, valueRuns({{0, 30}, {39, 40}})},
        {"FaultZr48X", zr48::fillFaultCodeOptionsZr48X, valueRuns({{0, 30}, {39, 41}, {44, 44}})},
        {"UserCodeZr48", zr48::fillUserCodeOptionsZr48, {}},
        {"UserCodeZr48X", zr48::fillUserCodeOptionsZr48X, {}},
    };
    return cases;
}

std::vector<std::pair<int, std::string>> rowsOf(std::int32_t key)
{
    std::vector<std::pair<int, std::string>> rows;
    for (const ValueOption& row : valueOptionsOf(key))
        rows.emplace_back(row.value, row.text);
    return rows;
}

// A procedure sets optionCount to its rows and nothing else, and leaves the running key alone.
TEST(Zr48OptionProcedures, StoreOnlyTheOptionCountAndAppendUnderTheCurrentKey)
{
    for (const ProcedureCase& c : procedureCases()) {
        SCOPED_TRACE(c.name);
        clearDeviceDescription();
        beginDescription("Test");
        appendParameter("S", {"X1", "first", "0", "9", "1", 0, 1, 0}, {1, 2, tableHoldingRegisters});
        appendParameter("S", {"X2", "second", "min", "max", "default", 5, 2, 999}, {3, 4, tableHoldingRegisters});
        EXPECT_EQ(c.procedure(), 0);
        EXPECT_EQ(currentOptionKey, 1001);
        const Parameter& p = parameters[1];
        EXPECT_EQ(p.optionCount, valueOptions.size());
        EXPECT_EQ(p.displayFormat, 5);
        EXPECT_EQ(p.minText, "min");
        EXPECT_EQ(p.maxText, "max");
        EXPECT_EQ(p.defaultText, "default");
        EXPECT_EQ(p.access, 2);
        EXPECT_EQ(parameters[0].optionCount, 0);
        EXPECT_EQ(valueOptionsOf(1001).size(), valueOptions.size());
        if (c.values.empty()) {
            EXPECT_EQ(valueOptions.size(), 390u);
            continue;
        }
        std::vector<int> values;
        for (const ValueOption& row : valueOptions) {
            values.push_back(row.value);
            EXPECT_FALSE(row.text.empty());
        }
        EXPECT_EQ(values, c.values);
    }
}

TEST(Zr48OptionProcedures, EachCallAppendsItsOwnCopy)
{
    loadZr48();
    const Parameter& di1 = param("F04.00");
    const Parameter& di2 = param("F04.01");
    EXPECT_NE(di1.optionKey, di2.optionKey);
    EXPECT_EQ(rowsOf(di1.optionKey), rowsOf(di2.optionKey));
    EXPECT_NE(valueOptionsOf(di1.optionKey).data(), valueOptionsOf(di2.optionKey).data());
}

// Copies that differ between the models differ only by the rows Zr48X adds.
TEST(Zr48OptionProcedures, Zr48XCopiesExtendTheZr48Copies)
{
    for (const char* code : {"F04.00", "F05.00", "F22.07", "U01.00", "F07.00", "F16.03", "F17.00"}) {
        SCOPED_TRACE(code);
        loadZr48();
        const auto zr48 = rowsOf(param(code).optionKey);
        loadZr48X();
        const auto x = rowsOf(param(code).optionKey);
        std::size_t matched = 0;
        for (const auto& row : x)
            matched += matched < zr48.size() && row == zr48[matched];
        EXPECT_EQ(matched, zr48.size());
    }
}

TEST(Zr48OptionProcedures, VirtualOutputsDifferFromOutputsInRowZeroOnly)
{
    for (auto load : {&loadZr48, &loadZr48X}) {
        load();
        const auto outputs = rowsOf(param("F05.00").optionKey);
        const auto virtualOutputs = rowsOf(param("F22.07").optionKey);
        ASSERT_EQ(outputs.size(), virtualOutputs.size());
        EXPECT_NE(outputs[0].second, virtualOutputs[0].second);
        EXPECT_TRUE(std::equal(outputs.begin() + 1, outputs.end(), virtualOutputs.begin() + 1));
    }
}

// Each user code names a parameter of F00-F16 of Zr48 by subgroup * 100 + index, with its code and name.
TEST(Zr48OptionProcedures, UserCodesFollowTheZr48Parameters)
{
    loadZr48();
    std::vector<std::pair<int, std::string>> expected;
    for (const Parameter& p : parameters) {
        const int subgroup = std::stoi(p.code.substr(1, 2));
        if (p.code[0] != 'F' || subgroup > 16)
            continue;
        std::string text = p.code + " " + p.name;
        if (p.code == "F07.04" || p.code == "F07.07")
            text += ", %";  // the list names these gains with a unit their parameters lack
        expected.emplace_back(subgroup * 100 + std::stoi(p.code.substr(4)), text);
    }
    ASSERT_EQ(expected.size(), 390u);
    const auto zr48 = rowsOf(param("F17.00").optionKey);
    EXPECT_EQ(zr48, expected);
    EXPECT_EQ(rowsOf(param("F17.29").optionKey), expected);
    EXPECT_EQ(param("F17.00").maxText, std::to_string(expected.back().first));
    for (const Parameter& p : parameters)
        if (p.subgroupCode == "F17") {
            bool selectable = false;
            for (const auto& row : expected)
                selectable = selectable || std::to_string(row.first) == p.defaultText;
            EXPECT_TRUE(selectable) << p.code << " " << p.defaultText;
        }

    loadZr48X();
    EXPECT_EQ(rowsOf(param("F17.00").optionKey), zr48);
    for (const char* code : {"F04.19", "F04.20", "F05.26", "F05.27", "F13.28", "F13.31"}) {
        const std::string prefix = std::string(code) + " ";
        for (const auto& row : zr48)
            EXPECT_NE(row.second.rfind(prefix, 0), 0u) << code;
    }
}

// The keypad shows a reading under its code and its name without the unit, but for five rows
// that word it differently.
TEST(Zr48OptionProcedures, KeypadRowsNameTheMonitorReadings)
{
    loadZr48();
    const auto rows = rowsOf(param("F16.03").optionKey);
    ASSERT_EQ(rows.size(), 38u);
    for (const auto& [value, text] : rows) {
        const std::string code = std::string("U00.") + (value < 10 ? "0" : "") + std::to_string(value);
        const std::string name = param(code.c_str()).name;
        EXPECT_EQ(text.rfind(code + " ", 0), 0u) << text;
        if (value == 12 || value == 13 || value == 14 || value == 36 || value == 37)
            continue;
        EXPECT_EQ(text, code + " " + name.substr(0, name.find(", "))) << value;
    }
}

}  // namespace
