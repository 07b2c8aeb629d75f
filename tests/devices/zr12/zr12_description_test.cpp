#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "description/description_store.h"
#include "devices/zr12/loaders.h"
#include "tests/support/description_checks.h"

using namespace description_checks;

namespace {

class Zr12Description : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearDeviceDescription();
        loadDescriptionZr12();
    }
};

TEST_F(Zr12Description, HeadDataTitleLinkDefaultsAndErrorRows)
{
    EXPECT_EQ(currentModelName, "ПЧ Tovik Zr12");
    ASSERT_NO_FATAL_FAILURE(expectLinkDefaults({.deviceAddress = 1, .baudRate = 9600, .dataBits = 8,
                                                .stopBits = 2.0f, .parityCode = 0, .identRegister = 0x5504,
                                                .registerTable = 4, .identValue = 18000}));
    EXPECT_EQ(param("P5.1.04").address, linkDefaults[0].identRegister);

    const char* texts[] = {"Недействительный адрес", "Ошибка проверки CRC", "Ошибка команды считывания и записи",
                           "Ошибка пароля", "Недействительные параметры", "Недействительные изменения параметров",
                           "Блокировка  системы", "Сохранение параметров"};
    ASSERT_EQ(deviceErrorCodes.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        const DeviceErrorCode& e = deviceErrorCodes[i];
        EXPECT_EQ(e.errorKind, 2);
        EXPECT_EQ(e.errorRegister, 0xFF01);
        EXPECT_EQ(e.compareMode, 2);
        EXPECT_EQ(e.errorCode, i + 1);
        EXPECT_EQ(e.text, texts[i]);
    }
}

TEST_F(Zr12Description, GroupsAndSubgroupsWithTheirParameterRuns)
{
    const std::vector<std::pair<std::string, std::string>> groups = {
        {"P0", "Базовые функции"}, {"P1", "Параметры управления двигателем"}, {"P2", "Входы и выходы"},
        {"P3", "Программируемые функции"}, {"P4", "ПИД и настройки связи"}, {"P5", "Дисплей пульта управления"},
        {"P6", "Отображения неисправностей"}, {"P7", "Функции пользователя"}, {"P8", "Функции производителя"},
        {"P9", "Мониторинг состояния"}};
    const std::map<std::string, std::size_t> perGroup = {{"P0", 51}, {"P1", 47}, {"P2", 79}, {"P3", 108},
        {"P4", 28}, {"P5", 18}, {"P6", 54}, {"P7", 30}, {"P8", 18}, {"P9", 31}};
    ASSERT_EQ(paramGroups.size(), groups.size());
    for (std::size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(paramGroups[i].code, groups[i].first);
        EXPECT_EQ(paramGroups[i].name, groups[i].second);
        EXPECT_EQ(paramGroups[i].treeItem, 0);
        EXPECT_EQ(countWithPrefix(groups[i].first), perGroup.at(groups[i].first)) << groups[i].first;
    }

    struct SubgroupFigures {
        const char* code;
        const char* name;
        std::size_t count;
        int firstKey;
    };
    const SubgroupFigures subgroups[] = {
        {"P0.0", "Базовая группа", 25, 1000}, {"P0.1", "Дополнительная группа", 26, 1025},
        {"P1.0", "Базовая группа", 27, 1051}, {"P1.1", "Дополнительная группа", 20, 1078},
        {"P2.0", "Базовая группа", 28, 1098}, {"P2.1", "Дополнительная группа", 28, 1126},
        {"P2.2", "Вспомогательная группа", 23, 1154}, {"P3.0", "Базовая группа", 52, 1177},
        {"P3.1", "Дополнительная группа", 16, 1229}, {"P3.2", "Встроенный PLC", 40, 1245},
        {"P4.0", "ПИД регулятор", 21, 1285}, {"P4.1", "Настройка связи", 7, 1306},
        {"P5.0", "Базовая группа", 11, 1313}, {"P5.1", "Дополнительная группа", 7, 1324},
        {"P6.0", "Отображение неисправностей", 27, 1331}, {"P6.1", "Управление защитой", 27, 1358},
        {"P7.0", "Базовая группа", 30, 1385}, {"P8.0", "Функции производителя", 1, 1415},
        {"P8.1", "Параметры калибровки", 17, 1416}, {"P9.0", "Монитор состояния", 31, 1433},
    };
    ASSERT_EQ(paramSubgroups.size(), 20u);
    std::size_t row = 0;
    for (std::size_t i = 0; i < 20; ++i) {
        const SubgroupFigures& f = subgroups[i];
        EXPECT_EQ(paramSubgroups[i].groupCode, std::string(f.code).substr(0, 2));
        EXPECT_EQ(paramSubgroups[i].code, f.code);
        EXPECT_EQ(paramSubgroups[i].name, f.name);
        ASSERT_LT(row, parameters.size());
        EXPECT_EQ(parameters[row].optionKey, f.firstKey) << f.code;
        for (std::size_t k = 0; k < f.count; ++k, ++row) {
            ASSERT_LT(row, parameters.size());
            EXPECT_EQ(parameters[row].subgroupCode, f.code) << parameters[row].code;
            EXPECT_EQ(parameters[row].code.substr(0, 4), f.code);
        }
    }
    EXPECT_EQ(row, parameters.size());
}

TEST_F(Zr12Description, KeysOptionRowsAndLoaderInvariants)
{
    EXPECT_EQ(parameters.size(), 464u);
    EXPECT_EQ(currentOptionKey, 1463);
    expectLoaderInvariants();
    EXPECT_EQ(valueOptions.size(), 13392u);
    EXPECT_EQ(bitOptions.size(), 80u);
    EXPECT_EQ(decDigitOptions.size(), 1888u);
    EXPECT_EQ(hexDigitOptions.size(), 400u);
    EXPECT_EQ(choiceParameterCount(), 95);
    for (const Parameter& p : parameters) {
        EXPECT_EQ(p.readValue, 0);
        EXPECT_EQ(p.setValue, 0);
    }
}

TEST_F(Zr12Description, KeysOfNamedParameters)
{
    const std::pair<const char*, int> keys[] = {
        {"P0.0.00", 1000}, {"P0.1.00", 1025}, {"P0.1.25", 1050}, {"P1.0.00", 1051}, {"P1.1.00", 1078},
        {"P1.1.19", 1097}, {"P2.0.00", 1098}, {"P2.0.05", 1103}, {"P2.0.10", 1104}, {"P2.1.23", 1147},
        {"P2.1.24", 1148}, {"P2.1.27", 1151}, {"P2.2.22", 1176}, {"P3.0.00", 1177}, {"P3.0.35", 1212},
        {"P3.0.36", 1213}, {"P3.0.42", 1219}, {"P3.0.43", 1220}, {"P3.0.44", 1221}, {"P3.0.51", 1228},
        {"P3.2.39", 1284}, {"P4.0.00", 1285}, {"P4.1.00", 1306}, {"P5.0.00", 1313}, {"P5.0.05", 1318},
        {"P5.0.15", 1319}, {"P5.1.00", 1324}, {"P5.1.04", 1328}, {"P5.1.06", 1330}, {"P6.0.00", 1331},
        {"P6.1.00", 1358}, {"P6.1.26", 1384}, {"P7.0.00", 1385}, {"P8.0.00", 1415}, {"P8.1.00", 1416},
        {"P9.0.00", 1433}, {"P9.0.30", 1463},
    };
    for (const auto& [code, key] : keys)
        EXPECT_EQ(param(code).optionKey, key) << code;
    for (const char* absent : {"P2.0.06", "P2.0.09", "P2.0.28", "P2.0.30", "P2.0.34", "P2.1.20", "P2.1.29",
                               "P5.0.06", "P5.0.14", "P5.0.19"})
        EXPECT_EQ(findParameterByCode(absent), nullptr) << absent;
}

TEST_F(Zr12Description, AccessAndDisplayFormatHistograms)
{
    EXPECT_EQ(histogram(&Parameter::access), (std::map<int, int>{{0, 66}, {1, 110}, {2, 288}}));
    for (const Parameter& p : parameters) {
        const bool readOnly = p.subgroupCode == "P5.1" || p.subgroupCode == "P6.0" || p.code == "P7.0.00"
            || p.subgroupCode == "P9.0";
        EXPECT_EQ(p.access == 0, readOnly) << p.code;
    }

    EXPECT_EQ(histogram(&Parameter::displayFormat),
              (std::map<int, int>{{0, 156}, {1, 145}, {2, 78}, {3, 20}, {4, 1}, {14, 6}, {22, 1}, {23, 16}, {24, 2},
                                  {32, 2}, {33, 1}, {34, 5}, {35, 26}, {44, 5}}));
    auto range = [](const char* prefix, int first, int last) {
        std::vector<std::string> codes;
        for (int i = first; i <= last; ++i)
            codes.push_back(std::string(prefix) + (i < 10 ? "0" : "") + std::to_string(i));
        return codes;
    };
    auto join = [](std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    EXPECT_EQ(codesWithFormat(3), join({{"P0.0.19", "P0.0.20", "P2.0.10", "P2.0.12", "P4.0.07", "P4.0.12"},
                                        range("P8.1.", 5, 16), {"P9.0.19", "P9.0.20"}}));
    EXPECT_EQ(codesWithFormat(4), std::vector<std::string>{"P5.0.15"});
    EXPECT_EQ(codesWithFormat(14),
              (std::vector<std::string>{"P6.0.06", "P6.0.07", "P6.0.14", "P6.0.15", "P6.0.22", "P6.0.23"}));
    EXPECT_EQ(codesWithFormat(22), std::vector<std::string>{"P2.1.03"});
    EXPECT_EQ(codesWithFormat(23), range("P3.0.", 35, 50));
    EXPECT_EQ(codesWithFormat(24), (std::vector<std::string>{"P3.2.26", "P3.2.27"}));
    EXPECT_EQ(codesWithFormat(32), (std::vector<std::string>{"P2.1.25", "P3.0.02"}));
    EXPECT_EQ(codesWithFormat(33), std::vector<std::string>{"P5.0.16"});
    EXPECT_EQ(codesWithFormat(34), range("P3.2.", 7, 11));
    EXPECT_EQ(codesWithFormat(35),
              join({{"P2.1.00", "P2.1.01", "P2.1.02", "P2.1.22"}, range("P3.2.", 0, 6),
                    {"P3.2.22", "P3.2.23", "P3.2.28", "P3.2.29", "P3.2.31", "P3.2.32", "P3.2.34", "P3.2.35",
                     "P3.2.37", "P3.2.38", "P5.0.17"},
                    range("P6.1.", 8, 11)}));
    EXPECT_EQ(codesWithFormat(44),
              (std::vector<std::string>{"P5.0.02", "P5.0.03", "P5.0.05", "P9.0.07", "P9.0.08"}));
    for (const std::string& code : codesWithFormat(44))
        EXPECT_EQ(bitOptionsOf(param(code).optionKey).size(), 16u) << code;
}

// The rule and the off-rule runs, worked out here independently of the loader.
TEST_F(Zr12Description, RegistersFollowTheRuleWithFiftyOneExceptions)
{
    struct Shift {
        int address;
        int eeprom;
    };
    auto expectedShift = [](const std::string& code) -> Shift {
        const std::string run = code.substr(0, 5);
        const int index = std::stoi(code.substr(5));
        if (run == "P1.1." && index >= 16 && index <= 19)
            return {-1, -1};
        if (run == "P3.0." && index >= 24 && index <= 51)
            return {+1, 0};
        if (run == "P6.0." && index >= 8 && index <= 26)
            return {0, -1};
        return {0, 0};
    };
    int offRule = 0;
    for (const Parameter& p : parameters) {
        const int g = p.code[1] - '0', s = p.code[3] - '0', ii = std::stoi(p.code.substr(5));
        const int rule = g * 4096 + s * 256 + ii;
        const Shift shift = expectedShift(p.code);
        EXPECT_EQ(p.address, rule + 0x400 + shift.address) << p.code;
        EXPECT_EQ(p.eepromAddress, g == 9 ? 0 : rule + shift.eeprom) << p.code;
        EXPECT_EQ(p.registerTable, 4) << p.code;
        EXPECT_NE(p.address, p.eepromAddress) << p.code;
        offRule += shift.address != 0 || shift.eeprom != 0;
    }
    EXPECT_EQ(offRule, 51);

    struct Registers {
        const char* code;
        int address;
        int eeprom;
    };
    const Registers named[] = {
        {"P0.0.00", 0x0400, 0x0000}, {"P0.0.10", 0x040A, 0x000A}, {"P0.1.07", 0x0507, 0x0107},
        {"P0.1.25", 0x0519, 0x0119}, {"P1.0.00", 0x1400, 0x1000}, {"P1.1.15", 0x150F, 0x110F},
        {"P1.1.16", 0x150F, 0x110F}, {"P1.1.19", 0x1512, 0x1112}, {"P2.1.05", 0x2505, 0x2105},
        {"P3.0.23", 0x3417, 0x3017}, {"P3.0.24", 0x3419, 0x3018}, {"P3.0.51", 0x3434, 0x3033},
        {"P3.2.39", 0x3627, 0x3227}, {"P4.0.00", 0x4400, 0x4000}, {"P5.1.06", 0x5506, 0x5106},
        {"P6.0.07", 0x6407, 0x6007}, {"P6.0.08", 0x6408, 0x6007}, {"P6.0.26", 0x641A, 0x6019},
        {"P7.0.00", 0x7400, 0x7000}, {"P9.0.00", 0x9400, 0}, {"P9.0.30", 0x941E, 0},
    };
    for (const Registers& r : named) {
        EXPECT_EQ(param(r.code).address, r.address) << r.code;
        EXPECT_EQ(param(r.code).eepromAddress, r.eeprom) << r.code;
    }
    for (const Parameter& p : parameters)
        EXPECT_NE(p.address, 0x3418) << p.code;
}

TEST_F(Zr12Description, ChoiceListsOfTheGroups)
{
    struct Choices {
        const char* code;
        std::size_t rows;
        std::uint16_t firstValue;
    };
    const Choices lists[] = {
        {"P0.0.00", 2, 1}, {"P0.0.04", 14, 0}, {"P0.1.00", 9, 0}, {"P0.1.07", 3, 0}, {"P1.1.07", 12, 0},
        {"P1.1.14", 14, 0}, {"P2.0.00", 61, 0}, {"P2.0.05", 61, 0}, {"P2.0.29", 60, 0}, {"P2.0.33", 21, 0},
        {"P2.1.23", 60, 0}, {"P2.1.24", 60, 0}, {"P3.0.51", 3, 0}, {"P4.0.02", 13, 0}, {"P4.1.00", 7, 0},
        {"P6.0.00", 41, 0}, {"P6.0.02", 41, 0}, {"P6.1.01", 2, 0}, {"P6.1.12", 5, 0}, {"P7.0.00", 416, 0},
        {"P7.0.29", 416, 0},
    };
    for (const Choices& c : lists) {
        const Parameter& p = param(c.code);
        const auto rows = valueOptionsOf(p.optionKey);
        ASSERT_EQ(rows.size(), c.rows) << c.code;
        EXPECT_EQ(p.optionCount, c.rows) << c.code;
        EXPECT_EQ(rows.front().value, c.firstValue) << c.code;
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_LT(rows[i - 1].value, rows[i].value) << c.code;
    }
    // Inline rows of whole groups.
    auto rowsUnder = [](const char* group) {
        std::size_t n = 0;
        for (const Parameter& p : parameters)
            if (p.code.rfind(group, 0) == 0)
                n += valueOptionsOf(p.optionKey).size();
        return n;
    };
    EXPECT_EQ(rowsUnder("P0"), 80u);
    EXPECT_EQ(rowsUnder("P1"), 52u);

    EXPECT_EQ(valueText("P0.0.04", 9), "Интерфейс Modbus");
    EXPECT_EQ(valueText("P0.1.01", 9), "Интерфейс");
    EXPECT_EQ(valueText("P0.1.07", 2), "100 Гц");
    EXPECT_EQ(valueText("P1.1.07", 8), "Результат операции 3");
    EXPECT_EQ(valueText("P1.1.14", 8), "Результат операции 1");
    EXPECT_EQ(valueText("P3.0.51", 1), "Час");
    EXPECT_EQ(valueText("P4.1.01", 0), "8-N-2");
    EXPECT_EQ(valueText("P6.0.01", 14), "Неполадки связи");
    EXPECT_EQ(valueText("P6.0.01", 39), "Резерв");
    EXPECT_EQ(valueText("P6.0.01", 40), "Неполадки буферного сопротивления");
    EXPECT_EQ(valueText("P6.1.01", 1), "Разрешено");
    // Each user of a table carries its own rows under its own key.
    EXPECT_EQ(valueText("P2.1.23", 5), "Толчковый режим обратного вращения");
    EXPECT_EQ(valueText("P2.1.24", 5), "Толчковый режим обратного вращения");
    EXPECT_EQ(valueText("P2.1.23", 0), "Аналоговый сигнал");
    EXPECT_EQ(valueText("P2.0.29", 0), "Нет функции");
    EXPECT_EQ(valueText("P2.0.33", 0), "Рабочая частота");
}

TEST_F(Zr12Description, FieldsOfNamedParameters)
{
    struct Fields {
        const char* code;
        const char* minText;
        const char* maxText;
        const char* defaultText;
        int format;
        int access;
        int optionCount;
    };
    const Fields rows[] = {
        {"P0.0.00", "1", "2", "1", 0, 1, 2},
        {"P0.0.05", "0.00", "P0.0.07", "50.00", 2, 2, 0},
        {"P0.0.08", "P0.0.09", "P0.0.07", "50.00", 2, 1, 0},
        {"P0.0.11", "0.0", "6500.0", "----", 1, 2, 0},
        {"P0.0.23", "0.01", "P0.0.17", "----", 2, 1, 0},
        {"P1.1.04", "P1.1.02", "P0.0.15", "0.00", 2, 1, 0},
        {"P1.1.15", "-200.0", "200.0", "150.0", 1, 2, 0},
        {"P2.0.00", "0", "60", "1", 0, 1, 61},
        {"P2.0.05", "0", "60", "8", 0, 1, 61},
        {"P2.0.20", "P2.0.18", "10.00", "10.00", 2, 2, 0},
        {"P2.0.29", "0", "59", "1", 0, 2, 60},
        {"P2.0.33", "0", "20", "0", 0, 2, 21},
        {"P2.1.02", "00011", "66644", "00021", 35, 2, 0},
        {"P2.1.03", "$00", "$11", "$00", 22, 2, 0},
        {"P2.1.23", "0", "59", "0", 0, 1, 60},
        {"P3.0.35", "$000", "$1A3", "$000", 23, 2, 0},
        {"P3.1.13", "-3200.0", "32000.0", "0.0", 1, 1, 0},
        {"P3.2.02", "00000", "59799", "00000", 35, 1, 0},
        {"P3.2.07", "0000", "5959", "0000", 34, 1, 0},
        {"P3.2.23", "00000", "21144", "00000", 35, 2, 0},
        {"P3.2.26", "$0000", "$FFFF", "$0000", 24, 2, 0},
        {"P3.2.28", "00000", "19054", "00000", 35, 2, 0},
        {"P5.0.02", "$0001", "$FFFF", "$001F", 44, 2, 0},
        {"P5.0.16", "000", "413", "001", 33, 2, 0},
        {"P5.0.17", "00000", "01121", "00011", 35, 2, 0},
        {"P5.0.20", "00000", "65535", "00000", 0, 1, 0},
        {"P5.1.04", "----", "----", "Только для чтения", 0, 0, 0},
        {"P6.0.00", "0", "40", "Только для чтения", 0, 0, 41},
        {"P6.0.03", "0.00", "320.00", "Только для чтения", 2, 0, 0},
        {"P6.1.07", "0.1", "100.1", "1.0", 1, 2, 0},
        {"P6.1.10", "00000", "12102", "00000", 35, 2, 0},
        {"P7.0.00", "1", "1", "1", 0, 0, 416},
        {"P7.0.01", "0", "9030", "2", 0, 1, 416},
        {"P7.0.06", "0", "9030", "18", 0, 1, 416},
        {"P8.1.02", "P8.1.00", "10.00", "10.00", 2, 1, 0},
        {"P9.0.07", "----", "----", "----", 44, 0, 0},
    };
    for (const Fields& f : rows) {
        const Parameter& p = param(f.code);
        EXPECT_EQ(p.minText, f.minText) << f.code;
        EXPECT_EQ(p.maxText, f.maxText) << f.code;
        EXPECT_EQ(p.defaultText, f.defaultText) << f.code;
        EXPECT_EQ(p.displayFormat, f.format) << f.code;
        EXPECT_EQ(p.access, f.access) << f.code;
        EXPECT_EQ(p.optionCount, f.optionCount) << f.code;
    }
    int withoutDefault = 0;
    for (const Parameter& p : parameters)
        withoutDefault += p.code < "P1" && p.defaultText == "----";
    EXPECT_EQ(withoutDefault, 17);
    for (const Parameter& p : parameters) {
        if (p.subgroupCode == "P9.0") {
            EXPECT_EQ(p.defaultText + p.minText + p.maxText, "------------") << p.code;
        }
    }
}

TEST_F(Zr12Description, DigitAndBitRowsOfTheGroups)
{
    struct DigitCounts {
        const char* code;
        std::size_t dec;
        std::size_t hex;
    };
    const DigitCounts counts[] = {
        {"P2.1.00", 10, 0}, {"P2.1.01", 10, 0}, {"P2.1.02", 29, 0}, {"P2.1.03", 0, 4}, {"P2.1.22", 10, 0},
        {"P2.1.25", 4, 0}, {"P3.0.02", 4, 0}, {"P3.0.35", 0, 17}, {"P3.0.50", 0, 17}, {"P3.2.00", 15, 0},
        {"P3.2.01", 10, 0}, {"P3.2.02", 150, 0}, {"P3.2.06", 150, 0}, {"P3.2.07", 120, 0}, {"P3.2.11", 120, 0},
        {"P3.2.22", 10, 0}, {"P3.2.23", 15, 0}, {"P3.2.26", 0, 64}, {"P3.2.27", 0, 60}, {"P3.2.28", 43, 0},
        {"P3.2.38", 43, 0}, {"P5.0.16", 11, 0}, {"P5.0.17", 10, 0}, {"P6.1.08", 15, 0}, {"P6.1.10", 11, 0},
    };
    for (const DigitCounts& c : counts) {
        EXPECT_EQ(decDigitOptionsOf(param(c.code).optionKey).size(), c.dec) << c.code;
        EXPECT_EQ(hexDigitOptionsOf(param(c.code).optionKey).size(), c.hex) << c.code;
    }

    // Two stage words in a row: 17 rows under 1212 directly followed by 17 under 1213.
    std::size_t at = 0;
    while (hexDigitOptions[at].optionKey != 1212)
        ++at;
    for (std::size_t i = 0; i < 34; ++i)
        EXPECT_EQ(hexDigitOptions[at + i].optionKey, i < 17 ? 1212 : 1213);

    // An operation input: the reading field has rows for 0, 9000..9030 and 9046..9054 only.
    const auto input = decDigitOptionsOf(param("P3.2.29").optionKey);
    EXPECT_EQ(input.front().fieldName, "Адрес входа В операции 1");
    EXPECT_EQ(input.front().digitMask, 1111);
    EXPECT_EQ(input[31].fieldValue, 9030);
    EXPECT_EQ(input[32].fieldValue, 9046);
    EXPECT_EQ(input[40].valueText, "P9.0.54 Пользовательское резервное значение мониторинга 5");
    EXPECT_EQ(input[42].fieldName, "Режим операции входа");
    EXPECT_EQ(input[42].digitMask, 10000);
    EXPECT_EQ(decDigitOptionsOf(param("P3.2.38").optionKey).front().fieldName, "Адрес входа В операции 4");

    // P3.2.27: values 10..14 read as 5..9 in every field.
    const auto coefficients = hexDigitOptionsOf(param("P3.2.27").optionKey);
    for (std::size_t f = 0; f < 4; ++f)
        for (std::size_t v = 5; v < 10; ++v)
            EXPECT_EQ(coefficients[f * 15 + v + 5].valueText, coefficients[f * 15 + v].valueText);
    EXPECT_EQ(coefficients[59].digitMask, 1000);

    // Fields of one, two and three values.
    const auto protection = decDigitOptionsOf(param("P6.1.10").optionKey);
    EXPECT_EQ(protection[3].digitMask, 10);
    EXPECT_EQ(protection[3].valueText, "Произвольное прекращение работы");
    EXPECT_EQ(protection[10].digitMask, 10000);
    EXPECT_EQ(decDigitOptionsOf(param("P5.0.17").optionKey)[0].fieldName, "");
    EXPECT_EQ(decDigitOptionsOf(param("P5.0.17").optionKey)[9].fieldName, "Резерв");

    const auto outputs = bitOptionsOf(param("P9.0.08").optionKey);
    EXPECT_EQ(outputs[0].text, "YO");
    EXPECT_EQ(outputs[3].text, "Y01");
    EXPECT_EQ(outputs[4].text, "T02");
    EXPECT_EQ(outputs[15].text, "Резерв");
    const auto stopped = bitOptionsOf(param("P5.0.05").optionKey);
    EXPECT_EQ(stopped[14].text, "Резерв");
    EXPECT_EQ(stopped[15].bitNumber, 15);
    EXPECT_EQ(bitOptionsOf(param("P9.0.07").optionKey)[0].text, "DI1");
}

TEST_F(Zr12Description, SecondLoadAfterClearingIsIdentical)
{
    expectSecondLoadAfterClearingIsIdentical(loadDescriptionZr12);
}

TEST_F(Zr12Description, LoadingWithoutClearingAppendsASecondCopy)
{
    loadDescriptionZr12();
    EXPECT_EQ(parameters.size(), 928u);
    EXPECT_EQ(valueOptions.size(), 2u * 13392u);
    EXPECT_EQ(currentOptionKey, 1463);
}

}  // namespace
