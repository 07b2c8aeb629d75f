#include "tests/devices/zr48/zr48_test_support.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/loader_table.h"

namespace {

using namespace description_checks;
using namespace zr48test;

class Zr48Description : public ::testing::Test {
protected:
    void SetUp() override { loadZr48(); }
};

TEST_F(Zr48Description, HeadRows)
{
    EXPECT_EQ(currentModelName, "ПЧ Tovik Zr48");
    ASSERT_NO_FATAL_FAILURE(expectLinkDefaults({.deviceAddress = 1, .baudRate = 9600, .dataBits = 8,
                                                .stopBits = 2.0f, .parityCode = 0, .identRegister = 23,
                                                .registerTable = tableHoldingRegisters, .identValue = 9261}));
    // The identification register is the firmware version, 92.61 in its two decimals.
    EXPECT_EQ(param("F00.23").address, linkDefaults[0].identRegister);
    EXPECT_EQ(param("F00.23").displayFormat, 2);

    ASSERT_EQ(deviceErrorCodes.size(), 1u);
    EXPECT_EQ(deviceErrorCodes[0].errorKind, errorKindException);
    EXPECT_EQ(deviceErrorCodes[0].errorRegister, 0);
    EXPECT_EQ(deviceErrorCodes[0].compareMode, 0);
    EXPECT_EQ(deviceErrorCodes[0].errorCode, 0);
    EXPECT_EQ(deviceErrorCodes[0].text, "");

    ASSERT_EQ(paramGroups.size(), 12u);
    for (std::size_t i = 0; i < paramGroups.size(); ++i) {
        EXPECT_EQ(paramGroups[i].code, std::to_string(i + 1));
        EXPECT_FALSE(paramGroups[i].name.empty());
        EXPECT_EQ(paramGroups[i].treeItem, 0);
    }
}

struct SubgroupFigures {
    const char* group;
    const char* code;
    int parameters;
    int firstKey;
    int lastKey;
    int highByte;
    int access1;
    int access2;
};

// Per subgroup: its group, parameters, keys, register high byte and writable rows by access.
constexpr SubgroupFigures zr48Subgroups[] = {
    {"1", "F00", 25, 1000, 1024, 0x00, 20, 1}, {"2", "F01", 15, 1025, 1039, 0x01, 9, 6},
    {"2", "F02", 23, 1040, 1062, 0x02, 17, 6}, {"2", "F03", 17, 1063, 1079, 0x03, 7, 10},
    {"3", "F04", 19, 1080, 1098, 0x04, 15, 4}, {"3", "F05", 25, 1099, 1123, 0x05, 21, 4},
    {"3", "F06", 37, 1124, 1160, 0x06, 0, 37}, {"3", "F07", 11, 1161, 1171, 0x07, 3, 8},
    {"4", "F08", 16, 1172, 1187, 0x08, 15, 1}, {"4", "F09", 18, 1188, 1205, 0x09, 3, 15},
    {"4", "F10", 26, 1206, 1231, 0x0A, 2, 24}, {"5", "F11", 37, 1232, 1268, 0x0B, 24, 13},
    {"6", "F12", 52, 1269, 1320, 0x0C, 3, 49}, {"6", "F13", 28, 1321, 1348, 0x0D, 17, 11},
    {"6", "F14", 19, 1349, 1367, 0x0E, 9, 10}, {"7", "F15", 9, 1368, 1376, 0x0F, 8, 1},
    {"8", "F16", 13, 1377, 1389, 0x10, 3, 10}, {"9", "F17", 30, 1390, 1419, 0x11, 0, 30},
    {"10", "F22", 18, 1420, 1437, 0x16, 6, 12}, {"11", "U00", 38, 1438, 1475, 0x30, 0, 0},
    {"11", "U01", 26, 1476, 1501, 0x31, 0, 0}, {"12", "H00", 29, 1502, 1530, 0x40, 11, 18},
};

TEST_F(Zr48Description, SubgroupsHoldTheirParametersKeysAndRegisters)
{
    ASSERT_EQ(paramSubgroups.size(), std::size(zr48Subgroups));
    std::map<std::string, int> perGroup;
    for (std::size_t i = 0; i < paramSubgroups.size(); ++i) {
        const SubgroupFigures& want = zr48Subgroups[i];
        SCOPED_TRACE(want.code);
        EXPECT_EQ(paramSubgroups[i].groupCode, want.group);
        EXPECT_EQ(paramSubgroups[i].code, want.code);
        int count = 0, access1 = 0, access2 = 0, firstKey = 0, lastKey = 0;
        for (const Parameter& p : parameters) {
            if (p.subgroupCode != want.code)
                continue;
            EXPECT_EQ(p.code.substr(0, 3), want.code);
            EXPECT_EQ(p.address >> 8, want.highByte) << p.code;
            EXPECT_EQ(p.address & 0xFF, std::stoi(p.code.substr(4))) << p.code;
            EXPECT_EQ(p.eepromAddress, want.code[0] == 'U' ? 0 : p.address + 0x8000) << p.code;
            firstKey = count++ ? firstKey : p.optionKey;
            lastKey = p.optionKey;
            access1 += p.access == 1;
            access2 += p.access == 2;
        }
        EXPECT_EQ(count, want.parameters);
        EXPECT_EQ(firstKey, want.firstKey);
        EXPECT_EQ(lastKey, want.lastKey);
        EXPECT_EQ(access1, want.access1);
        EXPECT_EQ(access2, want.access2);
        perGroup[want.group] += count;
    }
    const std::map<std::string, int> groupTotals = {{"1", 25}, {"2", 55}, {"3", 92}, {"4", 60}, {"5", 37}, {"6", 99},
                                                    {"7", 9},  {"8", 13}, {"9", 30}, {"10", 18}, {"11", 64}, {"12", 29}};
    EXPECT_EQ(perGroup, groupTotals);
}

TEST_F(Zr48Description, LoaderInvariantsAndTotals)
{
    expectZr48FamilyInvariants(1530);
    EXPECT_EQ(valueOptions.size(), 13752u);
    EXPECT_EQ(decDigitOptions.size(), 233u);

    EXPECT_EQ(histogram([](const Parameter& p) { return p.access; }), (std::map<int, int>{{0, 68}, {1, 193}, {2, 270}}));
    EXPECT_EQ(histogram([](const Parameter& p) { return p.displayFormat; }),
              (std::map<int, int>{{0, 207}, {1, 211}, {2, 62}, {3, 26}, {32, 5}, {33, 4}, {34, 5}, {35, 11}}));
    EXPECT_EQ(histogram([](const Parameter& p) { return p.optionCount > 0 ? 1 : p.displayFormat == 0 ? 0 : -1; }).at(1),
              147);
    EXPECT_EQ(histogram([](const Parameter& p) { return p.displayFormat == 0 && p.optionCount == 0; }).at(1), 60);
    EXPECT_EQ(histogram([](const Parameter& p) { return p.defaultText == "----"; }).at(1), 17);
    EXPECT_EQ(histogram([](const Parameter& p) { return isParameterCode(p.minText) || isParameterCode(p.maxText); })
                  .at(1),
              59);
}

// The procedure-served parameters and the rows each call appends; everything else is inline.
TEST_F(Zr48Description, ChoiceRowsSplitIntoInlineAndProcedureRows)
{
    struct Served {
        std::vector<std::string> codes;
        int rows;
    };
    auto concat = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::vector<Served> served = {
        {concat(codeRange("F04", 0, 9), codeRange("F22", 0, 4)), 47},
        {codeRange("F05", 0, 3), 32},
        {codeRange("F07", 0, 2), 14},
        {codeRange("F16", 3, 10), 38},
        {codeRange("F17", 0, 29), 390},
        {codeRange("F22", 7, 11), 32},
        {concat({"U01.00", "U01.05", "U01.10"}, codeRange("U01", 15, 25)), 33},
    };
    std::set<std::string> servedCodes;
    std::size_t procedureRows = 0;
    for (const Served& s : served) {
        for (const std::string& code : s.codes) {
            const Parameter& p = param(code.c_str());
            EXPECT_EQ(p.optionCount, s.rows) << code;
            EXPECT_EQ(valueOptionsOf(p.optionKey).size(), static_cast<std::size_t>(s.rows)) << code;
            EXPECT_EQ(p.minText, "0") << code;
            servedCodes.insert(code);
            procedureRows += static_cast<std::size_t>(s.rows);
        }
    }
    EXPECT_EQ(servedCodes.size(), 79u);
    EXPECT_EQ(procedureRows, 13501u);

    std::size_t inlineParameters = 0, inlineRows = 0, digitParameters = 0;
    for (const Parameter& p : parameters) {
        if (!decDigitOptionsOf(p.optionKey).empty()) {
            ++digitParameters;
            EXPECT_EQ(p.optionCount, 0) << p.code;
            expectDigitWord(p);
        }
        if (p.optionCount == 0 || servedCodes.count(p.code))
            continue;
        ++inlineParameters;
        inlineRows += p.optionCount;
        // Own lists count from 0 without gaps up to the maximum.
        const auto rows = valueOptionsOf(p.optionKey);
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows[i].value, i) << p.code;
        EXPECT_EQ(p.minText, "0") << p.code;
        EXPECT_EQ(p.maxText, std::to_string(rows.size() - 1)) << p.code;
    }
    EXPECT_EQ(inlineParameters, 68u);
    EXPECT_EQ(inlineRows, 251u);
    EXPECT_EQ(digitParameters, 25u);
}

TEST_F(Zr48Description, KeysFollowLoadOrderWhileRegistersFollowIndexes)
{
    struct Row {
        const char* code;
        int key;
        int address;
        int eepromAddress;
    };
    const Row rows[] = {
        {"F00.00", 1000, 0x0000, 0x8000}, {"F00.06", 1006, 0x0006, 0x8006}, {"F00.08", 1007, 0x0008, 0x8008},
        {"F00.13", 1012, 0x000D, 0x800D}, {"F00.23", 1022, 0x0017, 0x8017}, {"F03.11", 1074, 0x030B, 0x830B},
        {"F03.13", 1075, 0x030D, 0x830D}, {"F03.17", 1079, 0x0311, 0x8311}, {"F05.00", 1099, 0x0500, 0x8500},
        {"F08.05", 1177, 0x0805, 0x8805}, {"F08.08", 1178, 0x0808, 0x8808}, {"F08.21", 1186, 0x0815, 0x8815},
        {"F08.30", 1187, 0x081E, 0x881E}, {"F10.05", 1211, 0x0A05, 0x8A05}, {"F10.16", 1221, 0x0A10, 0x8A10},
        {"F10.26", 1231, 0x0A1A, 0x8A1A}, {"F11.08", 1240, 0x0B08, 0x8B08}, {"F11.10", 1241, 0x0B0A, 0x8B0A},
        {"F11.39", 1268, 0x0B27, 0x8B27}, {"F22.00", 1420, 0x1600, 0x9600}, {"F22.17", 1437, 0x1611, 0x9611},
        {"U00.00", 1438, 0x3000, 0},      {"U00.37", 1475, 0x3025, 0},      {"U01.25", 1501, 0x3119, 0},
        {"H00.00", 1502, 0x4000, 0xC000}, {"H00.28", 1530, 0x401C, 0xC01C},
    };
    for (const Row& row : rows) {
        const Parameter& p = param(row.code);
        EXPECT_EQ(p.optionKey, row.key) << row.code;
        EXPECT_EQ(p.address, row.address) << row.code;
        EXPECT_EQ(p.eepromAddress, row.eepromAddress) << row.code;
    }
    EXPECT_EQ(parameters[0].code, "F00.00");
    EXPECT_EQ(parameters[parameters.size() - 1].code, "H00.28");

    // Index gaps have neither a parameter nor a register.
    std::set<int> addresses;
    for (const Parameter& p : parameters)
        EXPECT_TRUE(addresses.insert(p.address).second) << p.code;
    for (int missing : {0x0007, 0x030C, 0x0806, 0x0807, 0x0810, 0x0814, 0x0816, 0x081D, 0x0A0F, 0x0B09, 0x0B0D, 0x0B10})
        EXPECT_EQ(addresses.count(missing), 0u) << std::hex << missing;
    for (const char* code : {"F00.07", "F03.12", "F08.06", "F08.20", "F10.15", "F11.13", "F18.00", "F21.00"})
        EXPECT_EQ(findParameterByCode(code), nullptr) << code;
}

TEST_F(Zr48Description, ReadOnlyRowsAndTextsWithoutDefault)
{
    for (const Parameter& p : parameters) {
        if (p.code[0] == 'U') {
            EXPECT_EQ(p.access, 0) << p.code;
            EXPECT_EQ(p.eepromAddress, 0) << p.code;
            // Readings store no default at all: the empty text, not "----".
            EXPECT_EQ(p.defaultText, "") << p.code;
        } else {
            EXPECT_FALSE(p.defaultText.empty()) << p.code;
            EXPECT_NE(p.eepromAddress, p.address) << p.code;
        }
    }
    for (const char* code : {"F00.20", "F00.21", "F00.22", "F00.23"}) {
        EXPECT_EQ(param(code).access, 0) << code;
        EXPECT_EQ(param(code).defaultText, "----") << code;
        EXPECT_EQ(param(code).eepromAddress, param(code).address + 0x8000) << code;
    }
    const Parameter& f0013 = param("F00.13");
    EXPECT_EQ(f0013.defaultText, "----");
    EXPECT_EQ(f0013.minText, "F00.15");
    EXPECT_EQ(f0013.maxText, "F00.14");
    EXPECT_EQ(param("F00.15").minText, "0.700");
    EXPECT_EQ(param("U00.17").minText, "-100.0");
    EXPECT_EQ(param("F16.12").minText, "0.00");
    EXPECT_EQ(param("F16.12").displayFormat, 1);
    EXPECT_EQ(param("F10.25").defaultText, "10.0");
    EXPECT_EQ(param("F10.25").minText, "50.0");

    // Every limit that names a parameter names one of this description, never a reading.
    for (const Parameter& p : parameters)
        for (const std::string* bound : {&p.minText, &p.maxText})
            if (isParameterCode(*bound)) {
                EXPECT_NE(findParameterByCode(*bound), nullptr) << p.code << " " << *bound;
                EXPECT_NE((*bound)[0], 'U') << p.code;
            }
}

TEST_F(Zr48Description, DigitFieldsGivenInShorthand)
{
    // F00.12: one caption for the value 0 of the hundreds digit, another for 1 to 9.
    const auto f0012 = decDigitOptionsOf(param("F00.12").optionKey);
    ASSERT_EQ(f0012.size(), 17u);
    EXPECT_EQ(f0012[7].digitMask, 100);
    EXPECT_EQ(f0012[7].fieldValue, 0);
    EXPECT_NE(f0012[7].fieldName, f0012[8].fieldName);
    for (std::size_t i = 8; i < 17; ++i)
        EXPECT_EQ(f0012[i].fieldName, f0012[8].fieldName);
    EXPECT_EQ(f0012[0].fieldName, f0012[4].fieldName);  // units and tens share their caption

    // F02.04: the tens digit has its single row 0.
    const auto f0204 = decDigitOptionsOf(param("F02.04").optionKey);
    ASSERT_EQ(f0204.size(), 7u);
    EXPECT_EQ(f0204[2].digitMask, 10);
    EXPECT_EQ(f0204[2].fieldValue, 0);
    EXPECT_EQ(f0204[2].valueText, f0204[2].fieldName);
    EXPECT_EQ(f0204[3].digitMask, 100);

    // "The same two values" and "every field" repeat the rows of the first field under each caption.
    for (const char* code : {"F04.13", "F05.08", "F11.10", "F11.11", "F22.06", "F22.17", "U00.12", "H00.11"}) {
        const auto rows = decDigitOptionsOf(param(code).optionKey);
        const int perField = param(code).maxText[0] - '0' + 1;
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows[i].valueText, rows[i % static_cast<std::size_t>(perField)].valueText) << code << " " << i;
    }
    // F04.14 changes its texts at AI1 and again at AI3; F12.17 gives two values one text.
    const auto f0414 = decDigitOptionsOf(param("F04.14").optionKey);
    ASSERT_EQ(f0414.size(), 10u);
    EXPECT_EQ(f0414[2].valueText, f0414[0].valueText);
    EXPECT_NE(f0414[4].valueText, f0414[0].valueText);
    EXPECT_EQ(f0414[6].valueText, f0414[4].valueText);
    EXPECT_NE(f0414[8].valueText, f0414[4].valueText);
    const auto f1217 = decDigitOptionsOf(param("F12.17").optionKey);
    ASSERT_EQ(f1217.size(), 11u);
    EXPECT_EQ(f1217[5].valueText, f1217[6].valueText);

    // Digit words whose default and minimum are the one digit "0".
    EXPECT_EQ(param("F22.05").defaultText, "0");
    EXPECT_EQ(param("F22.06").minText, "0");
}

TEST_F(Zr48Description, SecondLoadAfterClearingIsIdentical)
{
    EXPECT_EQ(parameters.size(), 531u);
    expectSecondLoadAfterClearingIsIdentical(loadDescriptionZr48);
}

TEST_F(Zr48Description, LoadWithoutClearingAppendsASecondCopy)
{
    loadDescriptionZr48();
    EXPECT_EQ(parameters.size(), 1062u);
    EXPECT_EQ(valueOptions.size(), 2 * 13752u);
    EXPECT_EQ(parameters[531].optionKey, 1000);
}

TEST(Zr48LoaderTable, EntriesTwoAndThree)
{
    EXPECT_STREQ(loaderTable[2].title, "ПЧ Tovik Zr48");
    EXPECT_STREQ(loaderTable[2].code, "Zr48");
    EXPECT_EQ(loaderTable[2].loader, &loadDescriptionZr48);
    EXPECT_STREQ(loaderTable[3].title, "ПЧ Tovik Zr48X");
    EXPECT_STREQ(loaderTable[3].code, "Zr48X");
    EXPECT_EQ(loaderTable[3].loader, &loadDescriptionZr48X);
    for (int entry : {2, 3}) {
        clearDeviceDescription();
        EXPECT_EQ(loaderTable[static_cast<std::size_t>(entry)].loader(), 0);
        EXPECT_EQ(currentModelName, loaderTable[static_cast<std::size_t>(entry)].title);
        EXPECT_EQ(modelIndexOf(currentModelName), entry);
    }
}

}  // namespace
