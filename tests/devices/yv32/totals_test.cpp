#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/devices/yv32/yv32_test_support.h"

using namespace description_checks;

namespace {

struct ModelTotals {
    Model model;
    std::size_t parameters;
    std::int32_t lastKey;
    std::map<std::string, int> perGroup;
    std::size_t valueRows, bitRows, decDigitRows, hexDigitRows;
    int choiceParameters;
    std::map<int, int> perDisplayFormat;
    std::map<int, int> perAccess;
    std::map<std::string, int> perCodeLetter;  // first code point, as UTF-8
};

const ModelTotals modelTotals[] = {
    {Model::yv32, 710, 1709, {{"0", 234}, {"1", 90}, {"2", 153}, {"3", 25}, {"4", 146}, {"6", 62}},
     1782, 394, 4, 562, 118,
     {{0, 221}, {1, 159}, {2, 202}, {3, 62}, {22, 18}, {23, 5}, {24, 12}, {32, 1}, {41, 4}, {42, 2}, {43, 2}, {44, 22}},
     {{0, 122}, {1, 173}, {2, 415}},
     {{"P", 572}, {"r", 121}, {"\u0420", 17}}},
    {Model::yv33, 731, 1730,
     {{"0", 234}, {"1", 90}, {"2", 153}, {"3", 25}, {"4", 146}, {"5", 21}, {"6", 62}},
     1791, 394, 4, 566, 122,
     {{0, 225}, {1, 161}, {2, 216}, {3, 62}, {22, 19}, {23, 5}, {24, 12}, {32, 1}, {41, 4}, {42, 2}, {43, 2}, {44, 22}},
     {{0, 122}, {1, 175}, {2, 434}},
     {{"P", 593}, {"r", 121}, {"\u0420", 17}}},
};

void PrintTo(const ModelTotals& totals, std::ostream* out) { PrintTo(totals.model, out); }

class Yv32TotalsTest : public ::testing::TestWithParam<ModelTotals> {
protected:
    void SetUp() override { loadModel(GetParam().model); }
};

std::string firstCodePoint(const std::string& code)
{
    return code.substr(0, static_cast<unsigned char>(code[0]) < 0x80 ? 1 : 2);
}

TEST_P(Yv32TotalsTest, ParameterAndOptionRowTotals)
{
    const ModelTotals& expected = GetParam();
    EXPECT_EQ(parameters.size(), expected.parameters);
    EXPECT_EQ(currentOptionKey, expected.lastKey);
    EXPECT_EQ(valueOptions.size(), expected.valueRows);
    EXPECT_EQ(bitOptions.size(), expected.bitRows);
    EXPECT_EQ(decDigitOptions.size(), expected.decDigitRows);
    EXPECT_EQ(hexDigitOptions.size(), expected.hexDigitRows);

    std::map<std::string, std::string> groupOf;
    for (const ParamSubgroup& s : paramSubgroups)
        groupOf[s.code] = s.groupCode;
    std::map<std::string, int> perGroup;
    for (const Parameter& p : parameters)
        ++perGroup[groupOf[p.subgroupCode]];
    EXPECT_EQ(perGroup, expected.perGroup);
}

TEST_P(Yv32TotalsTest, HistogramsOfFormatAccessAndCodeLetter)
{
    const ModelTotals& expected = GetParam();
    std::map<std::string, int> letters;
    for (const Parameter& p : parameters) {
        ++letters[firstCodePoint(p.code)];
        if (p.optionCount > 0) {
            EXPECT_EQ(p.displayFormat, 0) << p.code;
        }
    }
    EXPECT_EQ(histogram(&Parameter::displayFormat), expected.perDisplayFormat);
    EXPECT_EQ(histogram(&Parameter::access), expected.perAccess);
    EXPECT_EQ(letters, expected.perCodeLetter);
    EXPECT_EQ(choiceParameterCount(), expected.choiceParameters);
}

TEST_P(Yv32TotalsTest, ReadOnlyRowsAreTheReadingsAndP0001)
{
    std::vector<std::string> readOnlySettings;
    int readings = 0, readingsWithoutDefault = 0, readingsWithoutBounds = 0;
    for (const Parameter& p : parameters) {
        const bool reading = p.code[0] == 'r';
        if (reading) {
            ++readings;
            EXPECT_EQ(p.access, 0) << p.code;
            readingsWithoutDefault += p.defaultText == "----";
            readingsWithoutBounds += p.minText == "----" && p.maxText == "----";
        } else if (p.access == 0) {
            readOnlySettings.push_back(p.code);
        }
    }
    EXPECT_EQ(readings, 121);
    EXPECT_EQ(readingsWithoutDefault, 119);  // r11.00 and r61.00 default to "0"
    EXPECT_EQ(readingsWithoutBounds, 78);
    EXPECT_EQ(readOnlySettings, std::vector<std::string>{"P00.01"});
}

// A bound text is a number, "$" and hex digits, "----", or the code of another parameter.
bool namesAParameter(const std::string& bound)
{
    const char first = bound.empty() ? '0' : bound[0];
    return !(first == '-' || first == '$' || (first >= '0' && first <= '9'));
}

TEST_P(Yv32TotalsTest, BoundsThatNameAParameterNameAnExistingPCode)
{
    int minNames = 0, maxNames = 0;
    for (const Parameter& p : parameters) {
        for (const std::string* bound : {&p.minText, &p.maxText}) {
            if (!namesAParameter(*bound))
                continue;
            (bound == &p.minText ? minNames : maxNames) += 1;
            EXPECT_EQ((*bound)[0], 'P') << p.code;
            EXPECT_NE(findParameterByCode(*bound), nullptr) << p.code << " names " << *bound;
        }
        EXPECT_FALSE(namesAParameter(p.defaultText)) << p.code;
    }
    EXPECT_EQ(minNames, 38);
    EXPECT_EQ(maxNames, 56);
}

// Option rows of neighbouring subgroups that belong to one function of the drive, counted together.
struct SubgroupSpan {
    std::vector<std::string> subgroups;
    std::size_t parameters, valueRows, bitRows, hexDigitRows, decDigitRows;
};

const SubgroupSpan subgroupSpans[] = {
    {{"00", "01"}, 65, 73, 16, 26, 0},
    {{"02", "03"}, 40, 12, 0, 5, 0},
    {{"04", "05"}, 60, 41, 0, 24, 0},
    {{"06"}, 35, 790, 64, 64, 0},
    {{"07", "08"}, 34, 460, 20, 0, 0},
    {{"10", "11"}, 29, 11, 0, 0, 0},
    {{"12", "13", "14", "16"}, 61, 39, 0, 14, 0},
    {{"20", "21"}, 37, 13, 0, 72, 0},
    {{"22", "23", "24"}, 56, 29, 32, 80, 4},
    {{"25", "26"}, 41, 127, 152, 0, 0},
    {{"27"}, 19, 0, 30, 0, 0},
    {{"30", "31"}, 25, 50, 0, 0, 0},
    {{"40", "41"}, 48, 29, 0, 47, 0},
    {{"42", "43"}, 45, 3, 8, 72, 0},
    {{"44"}, 42, 68, 72, 128, 0},
    {{"45"}, 11, 0, 0, 16, 0},
    {{"60", "61", "62", "63"}, 62, 37, 0, 14, 0},
};

TEST_P(Yv32TotalsTest, RowsPerSubgroupAndOptionRowsPerSubgroupSpan)
{
    const std::map<std::string, std::size_t> rowsPerSubgroup = {
        {"00", 16}, {"01", 49}, {"02", 19}, {"03", 21}, {"04", 47}, {"05", 13}, {"06", 35}, {"07", 20},
        {"08", 14}, {"10", 11}, {"11", 18}, {"12", 21}, {"13", 18}, {"14", 15}, {"16", 7},  {"20", 20},
        {"21", 17}, {"22", 18}, {"23", 26}, {"24", 12}, {"25", 17}, {"26", 24}, {"27", 19}, {"30", 16},
        {"31", 9},  {"40", 40}, {"41", 8},  {"42", 27}, {"43", 18}, {"44", 42}, {"45", 11}, {"59", 21},
        {"60", 5},  {"61", 18}, {"62", 21}, {"63", 18}};
    std::map<std::string, std::size_t> counted;
    for (const Parameter& p : parameters)
        ++counted[p.subgroupCode];
    for (const auto& [code, rows] : rowsPerSubgroup) {
        const bool present = code != "59" || GetParam().model == Model::yv33;
        EXPECT_EQ(counted[code], present ? rows : 0) << "subgroup " << code;
    }

    for (const SubgroupSpan& span : subgroupSpans) {
        std::size_t params = 0, values = 0, bits = 0, hex = 0, dec = 0;
        for (const Parameter& p : parameters) {
            if (std::find(span.subgroups.begin(), span.subgroups.end(), p.subgroupCode) == span.subgroups.end())
                continue;
            ++params;
            values += valueOptionsOf(p.optionKey).size();
            bits += bitOptionsOf(p.optionKey).size();
            hex += hexDigitOptionsOf(p.optionKey).size();
            dec += decDigitOptionsOf(p.optionKey).size();
        }
        const std::string where = "subgroups from " + span.subgroups.front();
        EXPECT_EQ(params, span.parameters) << where;
        EXPECT_EQ(values, span.valueRows) << where;
        EXPECT_EQ(bits, span.bitRows) << where;
        EXPECT_EQ(hex, span.hexDigitRows) << where;
        EXPECT_EQ(dec, span.decDigitRows) << where;
    }
}

INSTANTIATE_TEST_SUITE_P(BothModels, Yv32TotalsTest, ::testing::ValuesIn(modelTotals),
                         [](const auto& info) { return info.param.model == Model::yv32 ? "Yv32" : "Yv33"; });

}  // namespace
