#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/devices/yv32/yv32_test_support.h"

namespace {

class Yv32InvariantsTest : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override { loadModel(GetParam()); }
};

TEST_P(Yv32InvariantsTest, KeysRunFrom1000WithoutGapAndCodesAreUnique)
{
    std::set<std::string> codes;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        EXPECT_EQ(parameters[i].optionKey, static_cast<std::int32_t>(1000 + i)) << parameters[i].code;
        EXPECT_TRUE(codes.insert(parameters[i].code).second) << parameters[i].code;
    }
    EXPECT_EQ(currentOptionKey, parameters[parameters.size() - 1].optionKey);
    EXPECT_EQ(parameters[0].code, "P00.00");
    EXPECT_EQ(parameters[parameters.size() - 1].code, "P63.22");
}

// Each option list holds one contiguous run per key, and every run belongs to an existing parameter.
template <class Record>
void expectOneRunPerExistingKey(const RecordList<Record>& list, const char* listName)
{
    std::set<std::int32_t> finished;
    std::int32_t running = 0;
    for (const Record& row : list) {
        EXPECT_NE(findParameterByKey(row.optionKey), nullptr) << listName << " key " << row.optionKey;
        if (row.optionKey != running) {
            EXPECT_TRUE(finished.insert(row.optionKey).second) << listName << " key " << row.optionKey << " split";
            EXPECT_GT(row.optionKey, running) << listName;  // appended right after their parameter
            running = row.optionKey;
        }
    }
}

TEST_P(Yv32InvariantsTest, OptionRowsFollowTheirParameterInOneRun)
{
    expectOneRunPerExistingKey(valueOptions, "ValueOption");
    expectOneRunPerExistingKey(bitOptions, "BitOption");
    expectOneRunPerExistingKey(decDigitOptions, "DecDigitOption");
    expectOneRunPerExistingKey(hexDigitOptions, "HexDigitOption");
}

// The kind of option rows follows from the display format; a choice offers its own value rows.
TEST_P(Yv32InvariantsTest, OptionKindMatchesDisplayFormat)
{
    const std::set<std::string> yv33ShortDiRows = {"P06.01", "P06.02", "P06.03", "P06.04", "P06.05",
                                                   "P06.06", "P06.07", "P06.08", "P06.09", "P06.10",
                                                   "P06.13", "P06.14", "P06.15"};
    for (const Parameter& p : parameters) {
        const int f = p.displayFormat;
        const std::size_t values = valueOptionsOf(p.optionKey).size();
        EXPECT_EQ(!hexDigitOptionsOf(p.optionKey).empty(), f >= 22 && f <= 24) << p.code;
        EXPECT_EQ(!decDigitOptionsOf(p.optionKey).empty(), f == 32) << p.code;
        EXPECT_EQ(!bitOptionsOf(p.optionKey).empty(), f >= 41 && f <= 44) << p.code;
        EXPECT_EQ(values > 0, p.optionCount > 0) << p.code;
        if (GetParam() == Model::yv33 && yv33ShortDiRows.count(p.code))
            EXPECT_EQ(p.optionCount, 40) << p.code;
        else
            EXPECT_EQ(p.optionCount, values) << p.code;
    }
}

TEST_P(Yv32InvariantsTest, DigitAndBitRowsFitTheirFormat)
{
    for (const Parameter& p : parameters) {
        const int digits = p.displayFormat % 10;
        int lastMask = 0;
        for (const HexDigitOption& row : hexDigitOptionsOf(p.optionKey)) {
            EXPECT_TRUE(row.digitMask == 1 || row.digitMask == 10 || row.digitMask == 100 || row.digitMask == 1000)
                << p.code;
            EXPECT_LT(row.digitMask, digits == 2 ? 100 : digits == 3 ? 1000 : 10000) << p.code;
            EXPECT_LE(row.fieldValue, 15) << p.code;
            EXPECT_GE(row.digitMask, lastMask) << p.code << ": fields from the units digit up";
            lastMask = row.digitMask;
        }
        int lastBit = -1;
        for (const BitOption& row : bitOptionsOf(p.optionKey)) {
            EXPECT_GT(row.bitNumber, lastBit) << p.code;
            EXPECT_LE(row.bitNumber, 15) << p.code;
            lastBit = row.bitNumber;
        }
    }
}

using Snapshot = std::tuple<std::vector<std::string>, std::vector<std::string>, std::vector<std::string>>;

// Everything a load stores, flattened to text, for comparing two loads.
Snapshot snapshot()
{
    std::vector<std::string> frame, params, options;
    frame.push_back(currentModelName);
    for (const ParamGroup& g : paramGroups)
        frame.push_back(g.code + "|" + g.name);
    for (const ParamSubgroup& s : paramSubgroups)
        frame.push_back(s.groupCode + "|" + s.code + "|" + s.name);
    for (const Parameter& p : parameters)
        params.push_back(p.subgroupCode + "|" + p.code + "|" + p.name + "|" + std::to_string(p.optionCount) + "|" +
                         std::to_string(p.optionKey) + "|" + p.defaultText + "|" + p.minText + "|" + p.maxText + "|" +
                         std::to_string(p.displayFormat) + "|" + std::to_string(p.address) + "|" +
                         std::to_string(p.eepromAddress) + "|" + std::to_string(p.registerTable) + "|" +
                         std::to_string(p.access) + "|" + std::to_string(p.readValue) + "|" +
                         std::to_string(p.setValue));
    for (const ValueOption& v : valueOptions)
        options.push_back("v" + std::to_string(v.optionKey) + "|" + std::to_string(v.value) + "|" + v.text);
    for (const BitOption& b : bitOptions)
        options.push_back("b" + std::to_string(b.optionKey) + "|" + std::to_string(b.bitNumber) + "|" + b.text);
    for (const auto* list : {&decDigitOptions, &hexDigitOptions})
        for (const DigitOption& d : *list)
            options.push_back((list == &decDigitOptions ? "d" : "h") + std::to_string(d.optionKey) + "|" +
                              std::to_string(d.digitMask) + "|" + std::to_string(d.fieldValue) + "|" +
                              d.valueText + "|" + d.fieldName);
    return {frame, params, options};
}

TEST_P(Yv32InvariantsTest, ASecondLoadAfterClearingGivesTheSameRows)
{
    const Snapshot first = snapshot();
    loadModel(GetParam());
    EXPECT_EQ(snapshot(), first);
    EXPECT_EQ(linkDefaults.size(), 1u);
    EXPECT_EQ(deviceErrorCodes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothModels, Yv32InvariantsTest, ::testing::Values(Model::yv32, Model::yv33),
                         [](const auto& info) { return info.param == Model::yv32 ? "Yv32" : "Yv33"; });

}  // namespace
