#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/devices/yv32/yv32_test_support.h"

using namespace description_checks;

namespace {

class Yv32InvariantsTest : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override { loadModel(GetParam()); }
};

TEST_P(Yv32InvariantsTest, KeysRunFrom1000WithoutGapAndCodesAreUnique)
{
    expectKeysRunFrom1000();
    expectCodesUnique();
    EXPECT_EQ(parameters[0].code, "P00.00");
    EXPECT_EQ(parameters[parameters.size() - 1].code, "P63.22");
}

TEST_P(Yv32InvariantsTest, OptionRowsFollowTheirParameterInOneRun)
{
    expectOptionRowsInRunsOfExistingKeys();
}

// The kind of option rows follows from the display format; a choice offers its own value rows,
// the short digital-input rows of Yv33 only the first 40 of their 56.
TEST_P(Yv32InvariantsTest, OptionKindMatchesDisplayFormat)
{
    const std::set<std::string> yv33ShortDiRows = {"P06.01", "P06.02", "P06.03", "P06.04", "P06.05",
                                                   "P06.06", "P06.07", "P06.08", "P06.09", "P06.10",
                                                   "P06.13", "P06.14", "P06.15"};
    const bool yv33 = GetParam() == Model::yv33;
    expectOptionKindsFollowTheDisplayFormat(yv33 ? yv33ShortDiRows : std::set<std::string>{});
    if (yv33) {
        for (const std::string& code : yv33ShortDiRows)
            EXPECT_EQ(param(code).optionCount, 40) << code;
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

TEST_P(Yv32InvariantsTest, ASecondLoadAfterClearingGivesTheSameRows)
{
    expectSecondLoadAfterClearingIsIdentical(loaderOf(GetParam()));
    EXPECT_EQ(linkDefaults.size(), 1u);
    EXPECT_EQ(deviceErrorCodes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothModels, Yv32InvariantsTest, ::testing::Values(Model::yv32, Model::yv33),
                         [](const auto& info) { return info.param == Model::yv32 ? "Yv32" : "Yv33"; });

}  // namespace
