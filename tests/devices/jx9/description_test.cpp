#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "description/description_store.h"
#include "devices/jx9/loaders.h"
#include "tests/support/description_checks.h"

using namespace description_checks;

namespace {

class Jx9DescriptionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearDeviceDescription();
        loadDescriptionJx9();
    }
};

const char* const kCoils = "регистров флагов (Coils)";
const char* const kDiscreteInputs = "дискретных входов (Discrete Inputs)";
const char* const kInputRegisters = "регистров ввода (Input Registers)";
const char* const kHoldingRegisters = "регистров хранения (Holding Registers)";

TEST_F(Jx9DescriptionTest, FrameRowsIdentifyTheSoftStarter)
{
    EXPECT_EQ(currentModelName, "УПП Tovik Jx9");
    EXPECT_EQ(codePoints(currentModelName).substr(0, 3), U"\u0423\u041F\u041F");

    ASSERT_NO_FATAL_FAILURE(expectLinkDefaults({.deviceAddress = 1, .baudRate = 9600, .dataBits = 8,
                                                .stopBits = 1.0f, .parityCode = 2, .identRegister = 3,
                                                .registerTable = 4, .identValue = 65535}));

    ASSERT_EQ(deviceErrorCodes.size(), 1u);
    EXPECT_EQ(deviceErrorCodes[0].errorKind, 0);
    EXPECT_EQ(deviceErrorCodes[0].compareMode, 0);
    EXPECT_EQ(deviceErrorCodes[0].errorRegister, 0);
    EXPECT_EQ(deviceErrorCodes[0].errorCode, 0);
    EXPECT_EQ(deviceErrorCodes[0].text, "");
}

TEST_F(Jx9DescriptionTest, OneGroupPerTableWithASubgroupOfTheSameCode)
{
    const std::vector<std::pair<std::string, std::string>> expected = {
        {kCoils, "Команды управления"},
        {kDiscreteInputs, "Статусы входов/выходов"},
        {kInputRegisters, "Мониторинг"},
        {kHoldingRegisters, "Параметры"},
    };
    ASSERT_EQ(paramGroups.size(), 4u);
    ASSERT_EQ(paramSubgroups.size(), 4u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(paramGroups[i].code, expected[i].first);
        EXPECT_EQ(paramGroups[i].name, expected[i].second);
        EXPECT_EQ(paramGroups[i].treeItem, 0);
        EXPECT_EQ(paramSubgroups[i].groupCode, expected[i].first);
        EXPECT_EQ(paramSubgroups[i].code, expected[i].first);
        EXPECT_EQ(paramSubgroups[i].name, expected[i].second);
        EXPECT_EQ(paramSubgroups[i].treeItem, 0);
    }
}

TEST_F(Jx9DescriptionTest, KeysRunWithoutGapThroughTheFourTables)
{
    ASSERT_EQ(parameters.size(), 56u);
    expectKeysRunFrom1000();
    EXPECT_EQ(currentOptionKey, 1055);
    EXPECT_EQ(valueOptions.size(), 129u);
    EXPECT_EQ(bitOptions.size(), 32u);
    EXPECT_TRUE(decDigitOptions.empty());
    EXPECT_TRUE(hexDigitOptions.empty());

    const std::map<std::string, std::int32_t> namedKeys = {
        {"00001", 1000}, {"00008", 1007}, {"10001", 1008}, {"30001", 1016},
        {"30026", 1040}, {"40001", 1041}, {"40019", 1055},
    };
    for (const auto& [code, key] : namedKeys)
        EXPECT_EQ(param(code.c_str()).optionKey, key) << code;

    // Rows per table, in table order, each under its table's subgroup and in ascending reference.
    const std::vector<std::pair<std::string, std::size_t>> runs = {
        {kCoils, 8}, {kDiscreteInputs, 8}, {kInputRegisters, 25}, {kHoldingRegisters, 15}};
    std::size_t at = 0;
    for (const auto& [subgroup, count] : runs) {
        for (std::size_t i = 0; i < count; ++i, ++at) {
            EXPECT_EQ(parameters[at].subgroupCode, subgroup) << parameters[at].code;
            if (i > 0) {
                EXPECT_LT(parameters[at - 1].code, parameters[at].code);
            }
        }
    }
}

TEST_F(Jx9DescriptionTest, RegistersFollowTheReferenceNumber)
{
    std::map<std::uint16_t, int> perTable;
    for (const Parameter& p : parameters) {
        SCOPED_TRACE(p.code);
        ASSERT_EQ(p.code.size(), 5u);
        const int reference = std::stoi(p.code);
        const int table = p.code[0] - '0';
        EXPECT_EQ(p.registerTable, table);
        EXPECT_EQ(p.address, reference - 10000 * table - 1);
        EXPECT_EQ(p.eepromAddress, p.address);
        ++perTable[p.registerTable];
    }
    EXPECT_EQ(perTable, (std::map<std::uint16_t, int>{{0, 8}, {1, 8}, {3, 25}, {4, 15}}));

    struct Case {
        const char* code;
        std::uint16_t address;
        std::uint16_t table;
    };
    for (const Case& c : {Case{"00001", 0, 0}, Case{"10008", 7, 1}, Case{"30015", 14, 3}, Case{"30017", 16, 3},
                          Case{"40001", 0, 4}, Case{"40005", 4, 4}, Case{"40019", 18, 4}}) {
        EXPECT_EQ(param(c.code).address, c.address) << c.code;
        EXPECT_EQ(param(c.code).registerTable, c.table) << c.code;
    }
    // Not described: the gaps of the register map, among them the identification register 40004.
    for (const char* code : {"1", "00009", "30016", "40003", "40004", "40009", "40016", "40020"})
        EXPECT_EQ(findParameterByCode(code), nullptr) << code;
}

TEST_F(Jx9DescriptionTest, OnlyCoilsAndMostHoldingRegistersAreWritable)
{
    for (const Parameter& p : parameters) {
        SCOPED_TRACE(p.code);
        std::uint16_t expected = 2;
        if (p.registerTable == 1 || p.registerTable == 3 || p.code == "40001" || p.code == "40014")
            expected = 0;
        else if (p.code == "40002")
            expected = 1;
        EXPECT_EQ(p.access, expected);
        if (p.registerTable == 0) {
            // A single-coil write can only send 0xFF00 or 0x0000.
            EXPECT_EQ(p.minText, "0");
            EXPECT_TRUE(p.maxText == "0" || p.maxText == "1");
        }
    }
    for (const char* reserve : {"00002", "00003", "00004", "00005", "00006", "00007"}) {
        EXPECT_EQ(param(reserve).name, "Резерв");
        EXPECT_EQ(param(reserve).maxText, "0");
    }
}

TEST_F(Jx9DescriptionTest, DisplayFormatsAndValueTexts)
{
    std::map<std::uint16_t, std::set<std::string>> byFormat;
    for (const Parameter& p : parameters)
        if (p.displayFormat != 0)
            byFormat[p.displayFormat].insert(p.code);
    EXPECT_EQ(byFormat, (std::map<std::uint16_t, std::set<std::string>>{{1, {"40006"}}, {42, {"30009", "30010"}}}));

    struct Texts {
        const char* code;
        const char* defaultText;
        const char* minText;
        const char* maxText;
    };
    for (const Texts& t : {Texts{"40006", "0.1", "0.1", "1.0"}, Texts{"30009", "0", "$01", "$81"},
                           Texts{"30010", "0", "$01", "$92"}, Texts{"30004", "1", "1", "512"},
                           Texts{"40005", "500", "500", "850"}, Texts{"40007", "110", "100", "200"},
                           Texts{"40017", "1", "1", "127"}, Texts{"40018", "3", "0", "4"},
                           Texts{"30026", "0", "0", "8"}}) {
        const Parameter& p = param(t.code);
        EXPECT_EQ(p.defaultText, t.defaultText) << t.code;
        EXPECT_EQ(p.minText, t.minText) << t.code;
        EXPECT_EQ(p.maxText, t.maxText) << t.code;
    }

    // Five rows have no default and start from their minimum; no limit names another parameter.
    std::set<std::string> withoutDefault;
    for (const Parameter& p : parameters) {
        if (p.defaultText == "----")
            withoutDefault.insert(p.code);
        for (const std::string* limit : {&p.minText, &p.maxText}) {
            EXPECT_FALSE(limit->empty()) << p.code;
            EXPECT_EQ(findParameterByCode(*limit), nullptr) << p.code << " limit " << *limit;
        }
    }
    EXPECT_EQ(withoutDefault, (std::set<std::string>{"40001", "40002", "40010", "40011", "40012"}));
}

TEST_F(Jx9DescriptionTest, EachParameterCarriesItsOwnOptionRows)
{
    const std::map<std::string, std::size_t> valueCounts = {
        {"00001", 2}, {"00008", 2}, {"10001", 2}, {"10002", 2}, {"10003", 2}, {"10004", 2},
        {"30011", 9}, {"30017", 9}, {"30018", 9}, {"30019", 9}, {"30020", 9}, {"30021", 9},
        {"30022", 9}, {"30023", 9}, {"30024", 9}, {"30025", 9}, {"30026", 9},
        {"40008", 4}, {"40013", 2}, {"40014", 2}, {"40015", 2}, {"40018", 5}, {"40019", 3},
    };
    for (const Parameter& p : parameters) {
        SCOPED_TRACE(p.code);
        const auto it = valueCounts.find(p.code);
        const std::size_t expected = it == valueCounts.end() ? 0 : it->second;
        EXPECT_EQ(valueOptionsOf(p.optionKey).size(), expected);
        EXPECT_EQ(p.optionCount, expected);
        if (expected > 0) {
            EXPECT_EQ(p.displayFormat, 0);
        }
        EXPECT_EQ(bitOptionsOf(p.optionKey).size(), p.displayFormat == 42 ? 16u : 0u);
    }

    // Every option row belongs to a parameter, and a key's rows form one run (no row is shared).
    expectOptionRowsInRunsOfExistingKeys();
}

TEST_F(Jx9DescriptionTest, OptionTextsStandAsTheDeviceNamesThem)
{
    const auto valuesOf = [](const char* code) {
        std::vector<std::pair<std::uint16_t, std::string>> out;
        for (const ValueOption& o : valueOptionsOf(param(code).optionKey))
            out.emplace_back(o.value, o.text);
        return out;
    };
    using Values = std::vector<std::pair<std::uint16_t, std::string>>;
    EXPECT_EQ(valuesOf("00001"), (Values{{0, "Стоп"}, {1, "Пуск"}}));
    EXPECT_EQ(valuesOf("00008"), (Values{{0, "Нет функции"}, {1, "Сброс"}}));
    EXPECT_EQ(valuesOf("10002"), (Values{{0, "Отключено"}, {1, "Включено"}}));
    EXPECT_EQ(valuesOf("10004"), (Values{{0, "Отключен"}, {1, "Включен"}}));
    EXPECT_EQ(valuesOf("40013"), (Values{{0, "Потенциометры"}, {1, "Интефейс Modbus"}}));
    EXPECT_EQ(valuesOf("40018"), (Values{{0, "1200"}, {1, "2400"}, {2, "4800"}, {3, "9600"}, {4, "19200"}}));
    EXPECT_EQ(valuesOf("40019"),
              (Values{{0, "Чет (Even), 1 стоп бит"}, {1, "Нечет (Odd), 1 стоп бит"}, {2, "Нет, 2 стоп бита"}}));

    const Values faults = valuesOf("30011");
    ASSERT_EQ(faults.size(), 9u);
    EXPECT_EQ(faults.front(), (std::pair<std::uint16_t, std::string>{0, "Нет ошибки"}));
    EXPECT_EQ(faults.back(), (std::pair<std::uint16_t, std::string>{8, "Другие аварии и ошибки"}));
    for (const char* code : {"30017", "30021", "30026"})
        EXPECT_EQ(valuesOf(code), faults) << code;

    // Status words: one row per bit in bit order; the high byte is unused.
    for (const char* code : {"30009", "30010"}) {
        const auto bits = bitOptionsOf(param(code).optionKey);
        ASSERT_EQ(bits.size(), 16u) << code;
        for (std::uint16_t bit = 0; bit < 16; ++bit) {
            EXPECT_EQ(bits[bit].bitNumber, bit) << code;
            if (bit >= 8) {
                EXPECT_EQ(bits[bit].text, "Не используется") << code << " bit " << bit;
            }
        }
    }
    const auto system = bitOptionsOf(param("30009").optionKey);
    EXPECT_EQ(system[0].text, "Стоп");
    EXPECT_EQ(system[6].text, "Резерв");
    EXPECT_EQ(system[7].text, "Авария");
    const auto inputs = bitOptionsOf(param("30010").optionKey);
    EXPECT_EQ(inputs[4].text, "Температурный переключатель");
    EXPECT_EQ(inputs[7].text, "DIP переключатель 1 (внутр./внеш. вход пуск)");
}

TEST_F(Jx9DescriptionTest, LookAlikeLettersAndSignsByCodePoint)
{
    const std::u32string rated = codePoints(param("40001").name);
    EXPECT_EQ(rated.substr(rated.find(U"FL"), 3), U"FL\u0421");  // Cyrillic С in "FLС"
    EXPECT_EQ(rated.back(), U'\u0410');
    const std::u32string load = codePoints(param("40002").name);
    EXPECT_NE(load.find(U"(FLA)"), std::u32string::npos);  // Latin A
    EXPECT_EQ(load.back(), U'\u0410');
    EXPECT_EQ(codePoints(valueOptionsOf(param("40008").optionKey)[0].text).back(), U'\u0410');

    EXPECT_EQ(codePoints(param("30001").name).substr(0, 11), U"Ток фазы A,");
    EXPECT_EQ(codePoints(param("30002").name)[9], U'B');
    EXPECT_EQ(codePoints(param("30003").name)[9], U'C');
    EXPECT_NE(codePoints(param("30013").name).find(U" \u0445 0,1"), std::u32string::npos);
    EXPECT_NE(codePoints(param("30004").name).find(U"/32)\u00D73"), std::u32string::npos);
    EXPECT_EQ(codePoints(param("40010").name), U"Начальное напряжение, % = reg*3+30");

    for (const std::string& text : {param("10001").name, param("10002").name,
                                    bitOptionsOf(param("30010").optionKey)[0].text,
                                    bitOptionsOf(param("30010").optionKey)[1].text}) {
        const std::u32string cps = codePoints(text);
        const auto open = cps.find(U"\u00AB\u041F\u0443\u0441\u043A");  // «Пуск
        ASSERT_NE(open, std::u32string::npos) << text;
        EXPECT_NE(cps.find(U'\u00BB', open), std::u32string::npos) << text;
    }
}

TEST_F(Jx9DescriptionTest, ReloadAfterClearingGivesIdenticalRows)
{
    expectSecondLoadAfterClearingIsIdentical(loadDescriptionJx9);
    EXPECT_EQ(linkDefaults.size(), 1u);
    EXPECT_EQ(paramGroups.size(), 4u);
    EXPECT_EQ(currentOptionKey, 1055);
}

}  // namespace
