#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/loader_table.h"
#include "description/description_store.h"
#include "devices/yv20/loaders.h"
#include "devices/zr12/loaders.h"
#include "tests/support/description_checks.h"

using namespace description_checks;

namespace {

class Yv20Description : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearDeviceDescription();
        loadDescriptionYv20();
    }
};

TEST_F(Yv20Description, TitleLoaderEntryAndHeadDataOfTheZr12Design)
{
    EXPECT_EQ(currentModelName, "ПЧ Tovik Yv20");
    EXPECT_EQ(modelIndexOf("ПЧ Tovik Yv20"), 4);
    EXPECT_EQ(loaderTable[4].loader, &loadDescriptionYv20);

    std::string yv20Head = dumpDescription();
    yv20Head = yv20Head.substr(yv20Head.find('\n'), yv20Head.find("\nP ") - yv20Head.find('\n'));
    clearDeviceDescription();
    loadDescriptionZr12();
    std::string zr12Head = dumpDescription();
    zr12Head = zr12Head.substr(zr12Head.find('\n'), zr12Head.find("\nP ") - zr12Head.find('\n'));
    EXPECT_EQ(yv20Head, zr12Head);
    EXPECT_NE(yv20Head.find("L 1 9600 8 2 0 21764 4 18000"), std::string::npos);
    EXPECT_NE(yv20Head.find("E 2 65281 2 7 Блокировка  системы"), std::string::npos);
}

TEST_F(Yv20Description, TotalsAndInvariants)
{
    EXPECT_EQ(parameters.size(), 502u);
    EXPECT_EQ(currentOptionKey, 1501);
    expectLoaderInvariants();
    EXPECT_EQ(valueOptions.size(), 13678u);
    EXPECT_EQ(bitOptions.size(), 80u);
    EXPECT_EQ(decDigitOptions.size(), 1905u);
    EXPECT_EQ(hexDigitOptions.size(), 400u);

    const std::map<std::string, std::size_t> perGroup = {{"P0", 59}, {"P1", 47}, {"P2", 91}, {"P3", 108},
        {"P4", 29}, {"P5", 26}, {"P6", 54}, {"P7", 30}, {"P8", 18}, {"P9", 40}};
    for (const auto& [group, count] : perGroup)
        EXPECT_EQ(countWithPrefix(group), count) << group;

    std::set<int> formats;
    for (const Parameter& p : parameters) {
        formats.insert(p.displayFormat);
        EXPECT_EQ(p.registerTable, 4);
        EXPECT_EQ(p.subgroupCode, p.code.substr(0, 4));
    }
    EXPECT_EQ(formats, (std::set<int>{0, 1, 2, 3, 4, 14, 22, 23, 24, 32, 33, 34, 35, 44}));
}

TEST_F(Yv20Description, SubgroupKeyRangesAndIndexes)
{
    struct Run {
        const char* subgroup;
        int firstKey;
        int lastKey;
        std::vector<std::pair<int, int>> indexRanges;
    };
    const Run runs[] = {
        {"P0.0", 1000, 1024, {{0, 24}}},           {"P0.1", 1025, 1058, {{0, 29}, {32, 35}}},
        {"P1.0", 1059, 1085, {{0, 26}}},           {"P1.1", 1086, 1105, {{0, 19}}},
        {"P2.0", 1106, 1141, {{0, 5}, {10, 39}}},  {"P2.1", 1142, 1173, {{0, 31}}},
        {"P2.2", 1174, 1196, {{0, 22}}},           {"P3.0", 1197, 1248, {{0, 51}}},
        {"P3.1", 1249, 1264, {{0, 15}}},           {"P3.2", 1265, 1304, {{0, 39}}},
        {"P4.0", 1305, 1325, {{0, 20}}},           {"P4.1", 1326, 1333, {{0, 7}}},
        {"P5.0", 1334, 1352, {{0, 13}, {15, 18}, {20, 20}}}, {"P5.1", 1353, 1359, {{0, 6}}},
        {"P6.0", 1360, 1386, {{0, 26}}},           {"P6.1", 1387, 1413, {{0, 26}}},
        {"P7.0", 1414, 1443, {{0, 29}}},           {"P8.0", 1444, 1444, {{0, 0}}},
        {"P8.1", 1445, 1461, {{0, 16}}},           {"P9.0", 1462, 1501, {{0, 30}, {46, 54}}},
    };
    for (const Run& run : runs) {
        int key = run.firstKey;
        for (const auto& [first, last] : run.indexRanges) {
            for (int index = first; index <= last; ++index, ++key) {
                const Parameter& p = parameters[static_cast<std::size_t>(key - 1000)];
                EXPECT_EQ(p.code, std::string(run.subgroup) + "." + (index < 10 ? "0" : "") + std::to_string(index));
                EXPECT_EQ(p.subgroupCode, run.subgroup);
            }
        }
        EXPECT_EQ(key - 1, run.lastKey) << run.subgroup;
    }
}

TEST_F(Yv20Description, AddedRowsKeysAndRegisters)
{
    struct Added {
        const char* code;
        int key;
        int address;
        int eeprom;
    };
    const Added added[] = {
        {"P0.1.26", 1051, 0x051A, 0x011A}, {"P0.1.29", 1054, 0x051D, 0x011D}, {"P0.1.32", 1055, 0x0520, 0x0120},
        {"P0.1.35", 1058, 0x0523, 0x0123}, {"P2.0.28", 1130, 0x241C, 0x201C}, {"P2.0.30", 1132, 0x241E, 0x201E},
        {"P2.0.32", 1134, 0x2420, 0x2020}, {"P2.0.34", 1136, 0x2422, 0x2022}, {"P2.0.35", 1137, 0x2423, 0x2023},
        {"P2.0.38", 1140, 0x2426, 0x2026}, {"P2.0.39", 1141, 0x2427, 0x2027}, {"P2.1.20", 1162, 0x2514, 0x2114},
        {"P2.1.21", 1163, 0x2515, 0x2115}, {"P2.1.22", 1164, 0x2516, 0x2116}, {"P2.1.29", 1171, 0x251D, 0x211D},
        {"P2.1.31", 1173, 0x251F, 0x211F}, {"P4.1.00", 1326, 0x4500, 0x4100}, {"P4.1.07", 1333, 0x4507, 0x4107},
        {"P5.0.06", 1340, 0x5406, 0x5006}, {"P5.0.13", 1347, 0x540D, 0x500D}, {"P7.0.00", 1414, 0x7400, 0x7000},
        {"P7.0.29", 1443, 0x741D, 0x701D}, {"P9.0.46", 1493, 0x942E, 0},          {"P9.0.54", 1501, 0x9436, 0},
        {"P3.0.43", 1240, 0x342C, 0x302B}, {"P2.0.20", 1122, 0x2414, 0x2014}, {"P0.1.07", 1032, 0x0507, 0x0107},
    };
    for (const Added& a : added) {
        const Parameter& p = param(a.code);
        EXPECT_EQ(p.optionKey, a.key) << a.code;
        EXPECT_EQ(p.address, a.address) << a.code;
        EXPECT_EQ(p.eepromAddress, a.eeprom) << a.code;
    }
    // The three off-rule runs of the design hold here too.
    EXPECT_EQ(param("P1.1.16").address, 0x150F);
    EXPECT_EQ(param("P1.1.16").eepromAddress, 0x110F);
    EXPECT_EQ(param("P3.0.24").address, 0x3419);
    EXPECT_EQ(param("P6.0.08").eepromAddress, 0x6007);
}

// Every Zr12 row is taken over in Zr12 order, with the same fields and option rows, apart from the
// rows the Yv20 gives other contents.
TEST_F(Yv20Description, CarriesEveryZr12RowInZr12Order)
{
    const std::map<std::string, StoredParameter> yv20 = parametersByCode();
    std::vector<std::string> yv20Order;
    for (const Parameter& p : parameters)
        yv20Order.push_back(p.code);

    clearDeviceDescription();
    loadDescriptionZr12();
    const std::set<std::string> changed = {"P2.0.20", "P2.1.22", "P4.1.00", "P4.1.05"};
    std::size_t position = 0;
    for (const Parameter& p : parameters) {
        while (position < yv20Order.size() && yv20Order[position] != p.code)
            ++position;
        ASSERT_LT(position, yv20Order.size()) << p.code << " missing or out of order";
        if (changed.count(p.code) != 0)
            continue;
        EXPECT_EQ(paramFields(yv20.at(p.code).parameter), paramFields(p)) << p.code;
        EXPECT_EQ(yv20.at(p.code).optionRows, optionRowsOf(p.optionKey)) << p.code;
    }
    EXPECT_EQ(yv20Order.size() - parameters.size(), 38u);
}

TEST_F(Yv20Description, RowsGivenInFull)
{
    struct Fields {
        const char* code;
        const char* name;
        const char* minText;
        const char* maxText;
        const char* defaultText;
        int format;
        int access;
        int optionCount;
    };
    const Fields rows[] = {
        {"P0.1.07", "Стандартная частота в период ускорения и замедления", "0", "2", "0", 0, 1, 3},
        {"P0.1.26", "Тип энкодера", "0", "10", "0", 0, 1, 4},
        {"P0.1.32", "UVW последовательность", "0", "1", "----", 0, 1, 2},
        {"P0.1.34", "UVW кол-во пар полюсов", "1", "65535", "----", 0, 1, 0},
        {"P0.1.35", "Частота переключения между временем замедления 2 и 3, Гц", "0.00", "P0.0.07", "0.00", 2, 1, 0},
        {"P2.0.00", "Функции клеммы DI1", "0", "60", "1", 0, 1, 61},
        {"P2.0.20", "Максимальный вход кривой 2, В", "P2.0.18", "10.00", "10.0", 2, 2, 0},
        {"P2.0.28", "Выбор функции YO1 (опция)", "0", "59", "1", 0, 2, 60},
        {"P2.0.29", "Выбор функции реле T1", "0", "59", "1", 0, 2, 60},
        {"P2.0.33", "Функция аналогового выхода FM1", "0", "20", "0", 0, 2, 21},
        {"P2.0.35", "Функция импульсного выхода YO/FMP (режим выхода в Р2.1.20=0)", "0", "20", "0", 0, 2, 21},
        {"P2.1.22", "Логика работы выходных реле и цифровых выходов", "00000", "11111", "00000", 35, 2, 0},
        {"P2.1.23", "Функция входа VF1 как дискретного входа", "0", "59", "0", 0, 1, 60},
        {"P3.0.43", "Свойства этапа 8", "$000", "$1A3", "$000", 23, 2, 0},
        {"P4.1.00", "Скорость передачи, бод", "00", "36", "03", 32, 2, 0},
        {"P4.1.05", "Протокол передачи данных", "00", "31", "01", 32, 2, 0},
        {"P4.1.07", "Действие при ошибке связи", "0", "2", "0", 0, 2, 3},
        {"P5.0.13", "Отображение 4-й строки LCD во время прекращения работы", "9000", "9054", "0000", 0, 2, 0},
        {"P6.0.00", "Запись ошибки 1", "0", "40", "Только для чтения", 0, 0, 41},
        {"P7.0.00", "Пользовательская функция 0", "1", "1", "1", 0, 0, 416},
        {"P7.0.29", "Пользовательская функция 29", "0", "9030", "0", 0, 1, 416},
        {"P9.0.54", "Пользовательское резервное значение мониторинга 5", "----", "----", "----", 0, 0, 0},
    };
    for (const Fields& f : rows) {
        const Parameter& p = param(f.code);
        EXPECT_EQ(p.name, f.name) << f.code;
        EXPECT_EQ(p.minText, f.minText) << f.code;
        EXPECT_EQ(p.maxText, f.maxText) << f.code;
        EXPECT_EQ(p.defaultText, f.defaultText) << f.code;
        EXPECT_EQ(p.displayFormat, f.format) << f.code;
        EXPECT_EQ(p.access, f.access) << f.code;
        EXPECT_EQ(p.optionCount, f.optionCount) << f.code;
    }

    const auto encoders = valueOptionsOf(param("P0.1.26").optionKey);
    ASSERT_EQ(encoders.size(), 4u);
    EXPECT_EQ(encoders[3].value, 10);
    EXPECT_EQ(encoders[3].text, "Контроль расстояния (открытый коллектор)");
    EXPECT_EQ(valueText("P2.1.20", 1), "Цифровой выход (YO, крытый коллектор)");
    EXPECT_EQ(valueText("P4.1.07", 2), "Ошибка связи");
    EXPECT_EQ(valueText("P7.0.00", 1), "P0.0.01-Режим отображения");
    EXPECT_EQ(valueOptionsOf(param("P7.0.13").optionKey).back().value, 9030);
    EXPECT_TRUE(valueOptionsOf(param("P4.1.00").optionKey).empty());
    EXPECT_TRUE(valueOptionsOf(param("P4.1.05").optionKey).empty());

    const auto baud = decDigitOptionsOf(param("P4.1.00").optionKey);
    ASSERT_EQ(baud.size(), 11u);
    EXPECT_EQ(baud[3].valueText, "9600");
    EXPECT_EQ(baud[6].fieldName, "MODBUS");
    EXPECT_EQ(baud[7].digitMask, 10);
    EXPECT_EQ(baud[7].valueText, "115200");
    EXPECT_EQ(baud[10].fieldName, "PROFIBUS");
    const auto logic = decDigitOptionsOf(param("P2.1.22").optionKey);
    ASSERT_EQ(logic.size(), 10u);
    const char* outputs[] = {"Цифровой выход YO", "Выходное реле Т1", "Выходное реле Т2", "Цифровой выход YO1",
                             "Цифровой выход YO2"};
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(logic[i].fieldName, outputs[i / 2]);
        EXPECT_EQ(logic[i].fieldValue, i % 2);
        EXPECT_EQ(logic[i].valueText, i % 2 ? "Отрицательная логика" : "Положительная логика");
    }
    EXPECT_EQ(hexDigitOptionsOf(1240).size(), 17u);
}

// The function tables reach their users once, through the procedures.
TEST_F(Yv20Description, SharedTablesAppearOncePerUser)
{
    struct Users {
        const char* first;
        const char* last;
        std::size_t rows;
    };
    const Users users[] = {
        {"P2.0.00", "P2.0.05", 61}, {"P2.0.28", "P2.0.32", 60}, {"P2.0.33", "P2.0.35", 21},
        {"P2.1.23", "P2.1.24", 60}, {"P6.0.00", "P6.0.02", 41}, {"P7.0.00", "P7.0.29", 416},
    };
    std::size_t procedureRows = 0;
    for (const Users& u : users) {
        for (int key = param(u.first).optionKey; key <= param(u.last).optionKey; ++key) {
            EXPECT_EQ(valueOptionsOf(key).size(), u.rows) << key;
            procedureRows += valueOptionsOf(key).size();
        }
    }
    EXPECT_EQ(procedureRows, 13452u);
    EXPECT_EQ(valueText("P2.0.31", 59), "Результат операции 4 более 0");
    EXPECT_EQ(valueText("P2.0.34", 20), "Результат операции 4");
    EXPECT_EQ(valueText("P2.1.24", 0), "Аналоговый сигнал");
    EXPECT_EQ(valueText("P2.1.24", 60), "<none>");
}

TEST_F(Yv20Description, TextsKeepTheirLettersAndBlanks)
{
    const std::pair<std::string, std::u32string> spellings[] = {
        {valueText("P0.1.00", 5), U" Минимальное значение \u0410, \u0412"},
        {valueText("P2.0.03", 7), U" Вход \u00ABМеньше\u00BB"},
        {valueText("P2.1.23", 40), U" Приостановка интегрирования ПИД"},
        {valueText("P2.0.30", 13), U" Ограничение частоты"},
        {valueText("P2.0.34", 1), U" Заданная частота"},
        {hexDigitOptionsOf(1240)[4].valueText, U" Является  многоступенчатой командой этапа"},
        {decDigitOptionsOf(param("P3.2.08").optionKey)[73].valueText, U" Ограничение частоты"},
        {decDigitOptionsOf(param("P6.1.09").optionKey)[0].fieldName, U"Падение  нагрузки двигателя"},
        {decDigitOptionsOf(param("P4.1.05").optionKey)[2].valueText, U"PPO1"},
        {decDigitOptionsOf(param("P4.1.05").optionKey)[3].valueText, U"PP02"},
        {decDigitOptionsOf(param("P4.1.05").optionKey)[4].valueText, U"PPO3"},
        {decDigitOptionsOf(param("P4.1.05").optionKey)[5].valueText, U"PP05"},
        {param("P2.0.32").name, U"Выбор функции YO/FMP (режим выхода в \u04202.1.20=1)"},
        {param("P2.0.35").name, U"Функция импульсного выхода YO/FMP (режим выхода в \u04202.1.20=0)"},
        {param("P2.0.30").name, U"Выбор функции реле T2"},
        {param("P2.1.31").name, U"Задержка T2, с"},
        {decDigitOptionsOf(param("P2.1.22").optionKey)[2].fieldName, U"Выходное реле \u04221"},
        {decDigitOptionsOf(param("P2.1.22").optionKey)[4].fieldName, U"Выходное реле \u04222"},
    };
    for (const auto& [actual, expected] : spellings)
        EXPECT_EQ(codePoints(actual), expected) << actual;
}

TEST_F(Yv20Description, SecondLoadAfterClearingIsIdentical)
{
    expectSecondLoadAfterClearingIsIdentical(loadDescriptionYv20);
}

}  // namespace
