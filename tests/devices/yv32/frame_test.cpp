#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/loader_table.h"
#include "tests/devices/yv32/yv32_test_support.h"

using namespace description_checks;

namespace {

class Yv32FrameTest : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override { loadModel(GetParam()); }
};

TEST(Yv32LoaderTable, SlotsFiveAndSixHoldTheTwoLoadersUnderTheirTitles)
{
    EXPECT_STREQ(loaderTable[5].title, "ПЧ Tovik Yv32");
    EXPECT_EQ(loaderTable[5].loader, &loadDescriptionYv32);
    EXPECT_STREQ(loaderTable[6].title, "ПЧ Tovik Yv33");
    EXPECT_EQ(loaderTable[6].loader, &loadDescriptionYv33);
    for (int slot : {5, 6}) {
        clearDeviceDescription();
        EXPECT_EQ(loaderTable[slot].loader(), 0);
        EXPECT_EQ(currentModelName, loaderTable[slot].title);
    }
}

TEST_P(Yv32FrameTest, LinkDefaultsIdentifyByP3000ReadingModbus)
{
    ASSERT_NO_FATAL_FAILURE(expectLinkDefaults({.deviceAddress = 1, .baudRate = 9600, .dataBits = 8,
                                                .stopBits = 1.0f, .parityCode = 0, .identRegister = 0x1E00,
                                                .registerTable = tableHoldingRegisters, .identValue = 0}));

    // The identification register is P30.00's, and the accepted value is its option "Modbus".
    const Parameter& p3000 = param("P30.00");
    EXPECT_EQ(p3000.address, linkDefaults[0].identRegister);
    EXPECT_EQ(p3000.registerTable, linkDefaults[0].registerTable);
    const auto options = valuesOf("P30.00");
    ASSERT_FALSE(options.empty());
    EXPECT_EQ(options[0].value, linkDefaults[0].identValue);
    EXPECT_EQ(options[0].text, "Modbus");
}

TEST_P(Yv32FrameTest, OneErrorRowForStandardExceptionReplies)
{
    ASSERT_EQ(deviceErrorCodes.size(), 1u);
    const DeviceErrorCode& row = deviceErrorCodes[0];
    EXPECT_EQ(row.errorKind, errorKindException);
    EXPECT_EQ(row.compareMode, 0);
    EXPECT_EQ(row.errorRegister, 0);
    EXPECT_EQ(row.errorCode, 0);
    EXPECT_TRUE(row.text.empty());
}

TEST_P(Yv32FrameTest, GroupsAndSubgroupsInAppendOrder)
{
    const bool yv33 = GetParam() == Model::yv33;
    std::vector<std::string> groupCodes;
    for (const ParamGroup& g : paramGroups) {
        groupCodes.push_back(g.code);
        EXPECT_EQ(g.treeItem, 0);
    }
    const std::vector<std::string> expectedGroups =
        yv33 ? std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}
             : std::vector<std::string>{"0", "1", "2", "3", "4", "6"};
    EXPECT_EQ(groupCodes, expectedGroups);

    std::vector<std::string> subgroupCodes;
    for (const ParamSubgroup& s : paramSubgroups) {
        subgroupCodes.push_back(s.code);
        EXPECT_EQ(s.groupCode, s.code.substr(0, 1)) << s.code;  // every subgroup code starts with its group's
        EXPECT_NE(s.groupCode, s.code);                          // so each gets its own tree item
    }
    std::vector<std::string> expectedSubgroups = {"00", "01", "02", "03", "04", "05", "06", "07", "08",
                                                  "10", "11", "12", "13", "14", "16", "20", "21", "22",
                                                  "23", "24", "25", "26", "27", "30", "31", "40", "41",
                                                  "42", "43", "44", "45", "60", "61", "62", "63"};
    if (yv33)
        expectedSubgroups.insert(expectedSubgroups.begin() + 31, "59");
    EXPECT_EQ(subgroupCodes, expectedSubgroups);
}

TEST_P(Yv32FrameTest, ParametersStandInTheSubgroupTheirCodeNames)
{
    std::set<std::string> subgroupCodes;
    for (const ParamSubgroup& s : paramSubgroups)
        subgroupCodes.insert(s.code);
    for (const Parameter& p : parameters) {
        EXPECT_EQ(subgroupCodes.count(p.subgroupCode), 1u) << p.code;
        EXPECT_EQ(p.code.substr(p.code.size() - 5, 2), p.subgroupCode) << p.code;
    }
    // Parameters come subgroup by subgroup, in subgroup-list order.
    std::vector<std::string> runOrder;
    for (const Parameter& p : parameters)
        if (runOrder.empty() || runOrder.back() != p.subgroupCode)
            runOrder.push_back(p.subgroupCode);
    std::vector<std::string> listOrder;
    for (const ParamSubgroup& s : paramSubgroups)
        listOrder.push_back(s.code);
    EXPECT_EQ(runOrder, listOrder);
}

TEST(Yv32FrameNames, GroupAndSubgroupNamesAgreeAcrossModelsAndKeepTheirBlank)
{
    loadModel(Model::yv32);
    std::vector<std::string> yv32Names;
    for (const ParamSubgroup& s : paramSubgroups)
        yv32Names.push_back(s.code + s.name);
    const ParamSubgroup* energySaving = nullptr;
    for (const ParamSubgroup& s : paramSubgroups)
        if (s.code == "16")
            energySaving = &s;
    ASSERT_NE(energySaving, nullptr);
    EXPECT_EQ(codePoints(energySaving->name).back(), U' ');

    loadModel(Model::yv33);
    std::vector<std::string> yv33Names;
    for (const ParamSubgroup& s : paramSubgroups)
        if (s.code != "59")
            yv33Names.push_back(s.code + s.name);
    EXPECT_EQ(yv33Names, yv32Names);
    ASSERT_EQ(paramGroups.size(), 7u);
    EXPECT_EQ(paramGroups[5].code, "5");
    EXPECT_EQ(paramSubgroups[31].groupCode, "5");
    // The hoist group and subgroup write "Подъемный"/"подъемного" with е (U+0435), not ё.
    EXPECT_EQ(codePoints(paramGroups[5].name).find(U'\u0451'), std::u32string::npos);
    EXPECT_NE(codePoints(paramGroups[5].name).find(U'\u0435'), std::u32string::npos);
    EXPECT_EQ(codePoints(paramSubgroups[31].name).find(U'\u0451'), std::u32string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothModels, Yv32FrameTest, ::testing::Values(Model::yv32, Model::yv33),
                         [](const auto& info) { return info.param == Model::yv32 ? "Yv32" : "Yv33"; });

}  // namespace
