#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "description/description_store.h"
#include "devices/yv20/option_procedures.h"
#include "devices/zr12/digit_tables.h"
#include "devices/zr12/fault_type_options.h"
#include "devices/zr12/function_options.h"
#include "devices/zr12/user_function_options.h"

namespace {

// Each procedure runs on a parameter whose fields all differ from what any procedure stores, so a
// field it must leave alone shows it.
struct ProcedureCase {
    const char* name;
    OptionProcedure procedure;
    int optionCount;  // -1: left alone
    const char* maxText;  // nullptr: format and limits left alone
    char list;
    std::span<const ValueRow> valueRows;
    std::span<const DigitRow> digitRows;
};

void PrintTo(const ProcedureCase& c, std::ostream* os) { *os << c.name; }

class Yv20OptionProcedures : public ::testing::TestWithParam<ProcedureCase> {};

TEST_P(Yv20OptionProcedures, StoreExactlyTheirFieldsAndAppendTheTableRows)
{
    const ProcedureCase& c = GetParam();
    clearDeviceDescription();
    beginDescription("test");
    appendParameter("P9.9", {"P9.9.01", "first", "5", "6", "5", 0, 2, 0}, {0x400, 0, 4});
    appendParameter("P9.9", {"P9.9.02", "second", "min", "max", "default", 7, 1, 3}, {0x401, 1, 4});
    c.procedure();

    const Parameter& p = parameters[1];
    EXPECT_EQ(currentOptionKey, 1001);
    EXPECT_EQ(p.optionCount, c.optionCount < 0 ? 3 : c.optionCount);
    EXPECT_EQ(p.displayFormat, c.maxText ? 0 : 7);
    EXPECT_EQ(p.minText, c.maxText ? "0" : "min");
    EXPECT_EQ(p.maxText, c.maxText ? c.maxText : "max");
    EXPECT_EQ(p.defaultText, "default");
    EXPECT_EQ(p.access, 1);
    EXPECT_EQ(parameters[0].optionCount, 0);
    EXPECT_EQ(parameters[0].maxText, "6");

    ASSERT_EQ(valueOptions.size(), c.valueRows.size());
    for (std::size_t i = 0; i < c.valueRows.size(); ++i) {
        EXPECT_EQ(valueOptions[i].optionKey, 1001);
        EXPECT_EQ(valueOptions[i].value, c.valueRows[i].value);
        EXPECT_EQ(valueOptions[i].text, c.valueRows[i].text);
    }
    const RecordList<DigitOption>& digits = c.list == 'H' ? hexDigitOptions : decDigitOptions;
    EXPECT_TRUE((c.list == 'H' ? decDigitOptions : hexDigitOptions).empty());
    ASSERT_EQ(digits.size(), c.digitRows.size());
    for (std::size_t i = 0; i < c.digitRows.size(); ++i) {
        EXPECT_EQ(digits[i].optionKey, 1001);
        EXPECT_EQ(digits[i].digitMask, c.digitRows[i].digitMask);
        EXPECT_EQ(digits[i].fieldValue, c.digitRows[i].fieldValue);
        EXPECT_EQ(digits[i].valueText, c.digitRows[i].valueText);
        EXPECT_EQ(digits[i].fieldName, c.digitRows[i].fieldName);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Yv20, Yv20OptionProcedures,
    ::testing::Values(
        ProcedureCase{"Di", fillDiFunctionOptionsYv20, 61, nullptr, 'V', Zr12DiFunctionOptions, {}},
        ProcedureCase{"Do", fillDoFunctionOptionsYv20, 60, nullptr, 'V', Zr12DoFunctionOptions, {}},
        ProcedureCase{"Ao", fillAoFunctionOptionsYv20, 21, "20", 'V', Zr12AoFunctionOptions, {}},
        ProcedureCase{"AiDi", fillAiDiFunctionOptionsYv20, 60, "59", 'V', Zr12AiDiFunctionOptions, {}},
        ProcedureCase{"Stage", fillStagePropertyDigitsYv20, -1, nullptr, 'H', {}, StagePropertyDigits},
        ProcedureCase{"RelayB", fillRelayWordBDigitsYv20, -1, nullptr, 'D', {}, RelayWordBDigits},
        ProcedureCase{"RelayC", fillRelayWordCDigitsYv20, -1, nullptr, 'D', {}, RelayWordCDigits},
        ProcedureCase{"Fault", fillFaultTypeOptionsYv20, 41, "40", 'V', Zr12FaultTypeOptions, {}},
        ProcedureCase{"User", fillUserFunctionOptionsYv20, -1, nullptr, 'V', Zr12UserFunctionOptions, {}}),
    [](const ::testing::TestParamInfo<ProcedureCase>& info) { return std::string(info.param.name); });

}  // namespace
