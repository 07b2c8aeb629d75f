#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <span>
#include <string>

#include "description/description_store.h"
#include "devices/zr12/digit_tables.h"
#include "devices/zr12/fault_type_options.h"
#include "devices/zr12/function_options.h"
#include "devices/zr12/loaders.h"
#include "devices/zr12/option_procedures.h"
#include "devices/zr12/user_function_options.h"
#include "tests/support/description_checks.h"

using namespace description_checks;

namespace {

template <class Rows>
void expectValuesCountUp(const Rows& rows, std::size_t count, const char* name)
{
    ASSERT_EQ(std::size(rows), count) << name;
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(rows[i].value, i) << name;
}

TEST(Zr12OptionTables, FunctionListsAndFaultTypes)
{
    expectValuesCountUp(Zr12DiFunctionOptions, 61, "Di");
    expectValuesCountUp(Zr12DoFunctionOptions, 60, "Do");
    expectValuesCountUp(Zr12AoFunctionOptions, 21, "Ao");
    expectValuesCountUp(Zr12AiDiFunctionOptions, 60, "AiDi");
    expectValuesCountUp(Zr12FaultTypeOptions, 41, "Fault");

    EXPECT_STREQ(Zr12DiFunctionOptions[0].text, "Нет функции");
    EXPECT_STREQ(Zr12DiFunctionOptions[60].text, "Запрет запуска и поиска скорости");
    EXPECT_STREQ(Zr12DoFunctionOptions[59].text, "Результат операции 4 более 0");
    EXPECT_STREQ(Zr12AoFunctionOptions[2].text, "Выходной ток");
    EXPECT_STREQ(Zr12AoFunctionOptions[14].text, "Выходной ток");
    EXPECT_STREQ(Zr12AoFunctionOptions[20].text, "Результат операции 4");
    EXPECT_STREQ(Zr12FaultTypeOptions[0].text, "Нет неисправностей");
    EXPECT_STREQ(Zr12FaultTypeOptions[40].text, "Неполадки буферного сопротивления");

    EXPECT_STREQ(Zr12AiDiFunctionOptions[0].text, "Аналоговый сигнал");
    for (std::size_t i = 1; i < 60; ++i)
        EXPECT_STREQ(Zr12AiDiFunctionOptions[i].text, Zr12DiFunctionOptions[i].text) << i;
    EXPECT_STREQ(Zr12AiDiFunctionOptions[59].text, "Функция пользователя 4");
}

TEST(Zr12OptionTables, StagePropertyDigits)
{
    ASSERT_EQ(std::size(StagePropertyDigits), 17u);
    const std::map<int, int> rowsPerField = {{1, 4}, {10, 11}, {100, 2}};
    std::map<int, int> seen;
    for (const DigitRow& row : StagePropertyDigits)
        EXPECT_EQ(row.fieldValue, seen[row.digitMask]++) << row.valueText;
    EXPECT_EQ(seen, rowsPerField);
    EXPECT_STREQ(StagePropertyDigits[0].fieldName, "Выбор врем. ускор. и замедл. (ступ. команда не действует)");
    EXPECT_STREQ(StagePropertyDigits[14].valueText, "Результат операции 4");
    EXPECT_STREQ(StagePropertyDigits[16].valueText, "Обратное");
}

TEST(Zr12OptionTables, RelayWordBDigitsFromTheirRules)
{
    ASSERT_EQ(RelayWordBDigits.size(), 150u);
    const std::span<const DigitRow> logic(RelayWordBDigits.data(), 10), input1(RelayWordBDigits.data() + 10, 80),
        input2(RelayWordBDigits.data() + 90, 60);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(logic[i].digitMask, 1);
        EXPECT_EQ(logic[i].fieldValue, i);
        EXPECT_STREQ(logic[i].fieldName, "Логика управления");
    }
    EXPECT_STREQ(logic[0].valueText, "Вход 1");
    EXPECT_STREQ(logic[9].valueText, "И переднего фронта, вход 1 и вход 2");
    for (std::size_t i = 0; i < 80; ++i) {
        EXPECT_EQ(input1[i].digitMask, 110);
        EXPECT_EQ(input1[i].fieldValue, i);
        EXPECT_STREQ(input1[i].fieldName, "Вход 1");
        if (i >= 20) {
            EXPECT_STREQ(input1[i].valueText, Zr12DoFunctionOptions[i - 20].text) << i;
        }
    }
    for (std::size_t i = 0; i < 60; ++i) {
        EXPECT_EQ(input2[i].digitMask, 11000);
        EXPECT_EQ(input2[i].fieldValue, i);
        EXPECT_STREQ(input2[i].fieldName, "Вход 2");
        EXPECT_STREQ(input2[i].valueText, input1[i].valueText) << i;
    }
    EXPECT_STREQ(input1[0].valueText, "DI1");
    EXPECT_STREQ(input1[9].valueText, "DI10");
    EXPECT_STREQ(input1[16].valueText, "VF2");
    EXPECT_STREQ(input1[19].valueText, "Резерв");
    EXPECT_STREQ(input1[20].valueText, "Нет функции");
    EXPECT_STREQ(input1[79].valueText, "Результат операции 4 более 0");
    EXPECT_STREQ(input2[59].valueText, "Завершение этапа РLC");
    EXPECT_STREQ(input1[33].valueText, " Ограничение частоты");
    EXPECT_STREQ(input2[33].valueText, " Ограничение частоты");
}

TEST(Zr12OptionTables, RelayWordCDigitsFromTheirRules)
{
    ASSERT_EQ(RelayWordCDigits.size(), 120u);
    for (std::size_t i = 0; i < 60; ++i) {
        const DigitRow& in = RelayWordCDigits[i];
        const DigitRow& out = RelayWordCDigits[60 + i];
        EXPECT_EQ(in.digitMask, 11);
        EXPECT_EQ(in.fieldValue, i);
        EXPECT_STREQ(in.fieldName, "Соотв. функция дискретного входа");
        EXPECT_STREQ(in.valueText, Zr12DiFunctionOptions[i].text);
        EXPECT_EQ(out.digitMask, 1100);
        EXPECT_EQ(out.fieldValue, i);
        EXPECT_STREQ(out.fieldName, "Соотв. функция дискретного выхода");
        if (i != 1) {
            EXPECT_STREQ(out.valueText, Zr12DoFunctionOptions[i].text) << i;
        }
    }
    EXPECT_STREQ(RelayWordCDigits[61].valueText, "Прямое вращение");
    EXPECT_STREQ(RelayWordCDigits[59].valueText, "Функция пользователя 4");
    EXPECT_STREQ(RelayWordCDigits[7].valueText, " Вход «Меньше»");
    EXPECT_STREQ(RelayWordCDigits[40].valueText, " Приостановка интегрирования ПИД");
    EXPECT_STREQ(RelayWordCDigits[73].valueText, " Ограничение частоты");
}

// The list names every parameter of groups P0-P6 and P9 by number, code and name; checked here
// against the loaded parameter rows.
TEST(Zr12OptionTables, UserFunctionRowsFollowTheParameterTables)
{
    clearDeviceDescription();
    loadDescriptionZr12();
    std::map<int, std::string> expected;
    for (const Parameter& p : parameters) {
        const int g = p.code[1] - '0';
        if (g == 7 || g == 8 || p.code == "P2.1.26")
            continue;
        expected[g * 1000 + (p.code[3] - '0') * 100 + std::stoi(p.code.substr(5))] = p.code + "-" + p.name;
    }
    expected[8] = "P0.0.08-Верхний предел частоты";
    expected[9] = "P0.0.09-Нижний предел частоты";
    expected[5019] = "P5.0.19-Инициализация параметров";

    ASSERT_EQ(std::size(Zr12UserFunctionOptions), 416u);
    std::map<int, std::string> actual;
    int previous = -1;
    for (const ValueRow& row : Zr12UserFunctionOptions) {
        EXPECT_GT(row.value, previous);
        previous = row.value;
        actual[row.value] = row.text;
    }
    EXPECT_EQ(actual, expected);

    const std::map<std::string, int> perSubgroup = {{"P0.0", 25}, {"P0.1", 26}, {"P1.0", 27}, {"P1.1", 20},
        {"P2.0", 28}, {"P2.1", 27}, {"P2.2", 23}, {"P3.0", 52}, {"P3.1", 16}, {"P3.2", 40}, {"P4.0", 21},
        {"P4.1", 7}, {"P5.0", 12}, {"P5.1", 7}, {"P6.0", 27}, {"P6.1", 27}, {"P9.0", 31}};
    std::map<std::string, int> counted;
    for (const ValueRow& row : Zr12UserFunctionOptions)
        ++counted[std::string(row.text).substr(0, 4)];
    EXPECT_EQ(counted, perSubgroup);
    EXPECT_STREQ(Zr12UserFunctionOptions[0].text, "P0.0.00-Тип преобразователя частоты");
    EXPECT_STREQ(Zr12UserFunctionOptions[415].text, "P9.0.30-Фактическое значение расстояния");
}

// Each procedure runs on a parameter whose fields all differ from what any procedure stores, so a
// field it must leave alone shows it.
struct ProcedureCase {
    const char* name;
    OptionProcedure procedure;
    int optionCount;        // -1: left alone
    bool storesFormatAndLimits;
    const char* maxText;
    char list;              // V, D or H
    std::size_t rows;
};

void PrintTo(const ProcedureCase& c, std::ostream* os) { *os << c.name; }

class OptionProcedures : public ::testing::TestWithParam<ProcedureCase> {};

TEST_P(OptionProcedures, StoreExactlyTheirFieldsAndAppendTheirRows)
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
    EXPECT_EQ(p.displayFormat, c.storesFormatAndLimits ? 0 : 7);
    EXPECT_EQ(p.minText, c.storesFormatAndLimits ? "0" : "min");
    EXPECT_EQ(p.maxText, c.storesFormatAndLimits ? c.maxText : "max");
    EXPECT_EQ(p.defaultText, "default");
    EXPECT_EQ(p.access, 1);
    EXPECT_EQ(p.address, 0x401);
    EXPECT_EQ(p.eepromAddress, 1);
    EXPECT_EQ(paramFields(parameters[0]), "P9.9|P9.9.01|first|0|5|5|6|0|1024|0|4|2");

    EXPECT_EQ(valueOptions.size(), c.list == 'V' ? c.rows : 0u);
    EXPECT_EQ(decDigitOptions.size(), c.list == 'D' ? c.rows : 0u);
    EXPECT_EQ(hexDigitOptions.size(), c.list == 'H' ? c.rows : 0u);
    EXPECT_TRUE(bitOptions.empty());
    for (const ValueOption& v : valueOptions)
        EXPECT_EQ(v.optionKey, 1001);
    for (const DigitOption& d : decDigitOptions)
        EXPECT_EQ(d.optionKey, 1001);
    for (const DigitOption& d : hexDigitOptions)
        EXPECT_EQ(d.optionKey, 1001);
}

INSTANTIATE_TEST_SUITE_P(
    Zr12AndZr24, OptionProcedures,
    ::testing::Values(ProcedureCase{"DiZr12", fillDiFunctionOptionsZr12, 61, true, "60", 'V', 61},
                      ProcedureCase{"DiZr24", fillDiFunctionOptionsZr24, 61, false, nullptr, 'V', 61},
                      ProcedureCase{"FaultZr12", fillFaultTypeOptionsZr12, 41, true, "40", 'V', 41},
                      ProcedureCase{"FaultZr24", fillFaultTypeOptionsZr24, 41, true, "40", 'V', 41},
                      ProcedureCase{"UserZr12", fillUserFunctionOptionsZr12, 416, false, nullptr, 'V', 416},
                      ProcedureCase{"UserZr24", fillUserFunctionOptionsZr24, 415, false, nullptr, 'V', 415},
                      ProcedureCase{"StageZr12", fillStagePropertyDigitsZr12, -1, false, nullptr, 'H', 17},
                      ProcedureCase{"StageZr24", fillStagePropertyDigitsZr24, -1, false, nullptr, 'H', 17},
                      ProcedureCase{"RelayBZr12", fillRelayWordBDigitsZr12, -1, false, nullptr, 'D', 150},
                      ProcedureCase{"RelayBZr24", fillRelayWordBDigitsZr24, -1, false, nullptr, 'D', 150},
                      ProcedureCase{"RelayCZr12", fillRelayWordCDigitsZr12, -1, false, nullptr, 'D', 120},
                      ProcedureCase{"RelayCZr24", fillRelayWordCDigitsZr24, -1, false, nullptr, 'D', 120}),
    [](const ::testing::TestParamInfo<ProcedureCase>& info) { return std::string(info.param.name); });

TEST(Zr12OptionTables, Zr24UserFunctionRowsLeaveOutOnlyDi1)
{
    clearDeviceDescription();
    beginDescription("test");
    appendParameter("P7.0", {"P7.0.01", "slot", "0", "9030", "2", 0, 1, 0}, {0x7401, 0x7001, 4});
    fillUserFunctionOptionsZr24();
    ASSERT_EQ(valueOptions.size(), 415u);
    std::size_t zr12Row = 0;
    for (const ValueOption& row : valueOptions) {
        if (Zr12UserFunctionOptions[zr12Row].value == 2000)
            ++zr12Row;
        EXPECT_EQ(row.value, Zr12UserFunctionOptions[zr12Row].value);
        EXPECT_EQ(row.text, Zr12UserFunctionOptions[zr12Row].text);
        ++zr12Row;
    }
    EXPECT_EQ(valueOptions[97].value, 1119);
    EXPECT_EQ(valueOptions[98].text, "P2.0.01-Функции клеммы DI2");
}

}  // namespace
