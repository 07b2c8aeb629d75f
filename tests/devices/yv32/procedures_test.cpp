#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "description/loader_kit.h"
#include "devices/yv32/option_procedures.h"
#include "tests/devices/yv32/yv32_test_support.h"

using namespace description_checks;

namespace {

struct ProcedureCase {
    const char* name;
    OptionProcedure procedure;
    std::uint16_t storedCount;
    std::size_t rows;
};

const ProcedureCase procedureCases[] = {
    {"DI Yv32", fillDiFunctionOptionsYv32, 56, 56},
    {"DI Yv33", fillDiFunctionOptionsYv33, 40, 56},
    {"DO Yv32", fillDoFunctionOptionsYv32, 46, 46},
    {"DO Yv33", fillDoFunctionOptionsYv33, 46, 46},
};

// A procedure stores only optionCount on the current parameter and appends its whole list under
// the current key, without moving the key.
TEST(Yv32OptionProcedures, StoreOnlyTheCountAndAppendTheWholeList)
{
    for (const ProcedureCase& c : procedureCases) {
        clearDeviceDescription();
        beginDescription("test");
        const ParamRow row{"P99.01", "name", "min", "max", "default", 7, 2, 3};
        appendParameter("99", row, {0x1234, 0x9234, tableHoldingRegisters});
        appendParameter("99", row, {0x1235, 0x9235, tableHoldingRegisters});
        EXPECT_EQ(c.procedure(), 0) << c.name;
        EXPECT_EQ(currentOptionKey, 1001) << c.name;
        const Parameter& first = parameters[0];
        const Parameter& served = parameters[1];
        EXPECT_EQ(first.optionCount, 3) << c.name;
        EXPECT_EQ(served.optionCount, c.storedCount) << c.name;
        EXPECT_EQ(served.displayFormat, 7) << c.name;
        EXPECT_EQ(served.minText, "min") << c.name;
        EXPECT_EQ(served.maxText, "max") << c.name;
        EXPECT_EQ(served.defaultText, "default") << c.name;
        EXPECT_EQ(served.address, 0x1235) << c.name;
        ASSERT_EQ(valueOptions.size(), c.rows) << c.name;
        for (std::size_t i = 0; i < valueOptions.size(); ++i) {
            EXPECT_EQ(valueOptions[i].optionKey, 1001) << c.name;
            EXPECT_EQ(valueOptions[i].value, i) << c.name;
        }
    }
}

const std::vector<std::string> diFunctionRows = {"P06.01", "P06.02", "P06.03", "P06.04", "P06.05",
                                                 "P06.06", "P06.07", "P06.08", "P06.09", "P06.10",
                                                 "P06.13", "P06.14", "P06.15", "P06.16"};

TEST(Yv32OptionProcedures, DiFunctionRowsOfBothModels)
{
    for (Model model : {Model::yv32, Model::yv33}) {
        loadModel(model);
        std::vector<ValueOption> firstList;
        for (const std::string& code : diFunctionRows) {
            const Parameter& p = param(code);
            const bool offersAll = model == Model::yv32 || code == "P06.16";
            EXPECT_EQ(p.optionCount, offersAll ? 56 : 40) << modelTitle(model) << " " << code;
            EXPECT_EQ(p.displayFormat, 0) << code;
            EXPECT_EQ(p.minText, "0") << code;
            EXPECT_EQ(p.maxText, "55") << code;
            const auto rows = valuesOf(code);
            ASSERT_EQ(rows.size(), 56u) << code;
            if (firstList.empty())
                firstList = rows;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(rows[i].value, i) << code;
                EXPECT_EQ(rows[i].text, firstList[i].text) << code;
            }
        }
        // Value 39 is the last entry a Yv33 input row among P06.01-P06.15 offers, 40 the first it does not.
        EXPECT_EQ(codePoints(firstList[39].text).substr(0, 3), U"\u041F\u0418\u0414");  // "ПИД-пауза"
        EXPECT_EQ(codePoints(firstList[40].text).substr(0, 3), U"\u041F\u0418\u0414");
        EXPECT_NE(firstList[40].text, firstList[39].text);
    }
}

TEST(Yv32OptionProcedures, DoFunctionRowsOfBothModels)
{
    for (Model model : {Model::yv32, Model::yv33}) {
        loadModel(model);
        for (int i = 1; i <= 10; ++i) {
            const std::string code = "P07." + std::string(i < 10 ? "0" : "") + std::to_string(i);
            const Parameter& p = param(code);
            EXPECT_EQ(p.optionCount, 46) << code;
            EXPECT_EQ(p.maxText, "45") << code;
            const auto rows = valuesOf(code);
            ASSERT_EQ(rows.size(), 46u) << code;
            EXPECT_EQ(rows.back().value, 45) << code;
        }
        EXPECT_EQ(param("P07.03").defaultText, "3");
    }
}

}  // namespace
