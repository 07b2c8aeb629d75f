#include "tests/devices/zr48/zr48_test_support.h"

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace description_checks;
using namespace zr48test;

struct SharedRow {
    Parameter parameter;
    std::vector<std::pair<int, std::string>> values;
    std::vector<std::tuple<int, int, std::string, std::string>> digits;
};

// The Zr48 description by code, taken once, to hold Zr48X's shared rows against.
const std::map<std::string, SharedRow>& zr48Rows()
{
    static const std::map<std::string, SharedRow> rows = [] {
        loadZr48();
        std::map<std::string, SharedRow> byCode;
        for (const Parameter& p : parameters) {
            SharedRow& row = byCode[p.code];
            row.parameter = p;
            for (const ValueOption& v : valueOptionsOf(p.optionKey))
                row.values.emplace_back(v.value, v.text);
            for (const DecDigitOption& d : decDigitOptionsOf(p.optionKey))
                row.digits.emplace_back(d.digitMask, d.fieldValue, d.valueText, d.fieldName);
        }
        return byCode;
    }();
    return rows;
}

class Zr48XDescription : public ::testing::Test {
protected:
    void SetUp() override
    {
        zr48Rows();
        loadZr48X();
    }
};

TEST_F(Zr48XDescription, HeadRowsDifferFromZr48WhereTheModelDoes)
{
    EXPECT_EQ(currentModelName, "ПЧ Tovik Zr48X");
    ASSERT_NO_FATAL_FAILURE(expectLinkDefaults({.deviceAddress = 1, .baudRate = 9600, .dataBits = 8,
                                                .stopBits = 2.0f, .parityCode = 0, .identRegister = 23,
                                                .registerTable = tableHoldingRegisters, .identValue = 9562}));
    ASSERT_EQ(deviceErrorCodes.size(), 1u);
    EXPECT_EQ(deviceErrorCodes[0].errorKind, errorKindException);
    EXPECT_EQ(deviceErrorCodes[0].compareMode, 0);
    EXPECT_EQ(deviceErrorCodes[0].text, "");

    const std::vector<ParamGroup> xGroups = paramGroups.records();
    loadZr48();
    const std::vector<ParamGroup> groups = paramGroups.records();
    ASSERT_EQ(xGroups.size(), 13u);
    ASSERT_EQ(groups.size(), 12u);
    for (std::size_t i = 0; i < xGroups.size(); ++i)
        EXPECT_EQ(xGroups[i].code, std::to_string(i + 1));
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(xGroups[i].code, groups[i].code);
        EXPECT_EQ(xGroups[i].name, groups[i].name);
    }
    EXPECT_EQ(xGroups[10].name, groups[9].name);
    EXPECT_EQ(xGroups[11].name, groups[10].name);
    // Group 10 is new; the pump group keeps its old name at the front of a longer one.
    EXPECT_EQ(xGroups[9].name, groups[3].name + " 2");
    EXPECT_EQ(xGroups[12].name.rfind(groups[11].name + ", ", 0), 0u);
}

struct SubgroupFigures {
    const char* group;
    const char* code;
    int parameters;
    int firstKey;
    int lastKey;
    int highByte;
};

constexpr SubgroupFigures zr48xSubgroups[] = {
    {"1", "F00", 25, 1000, 1024, 0x00},  {"2", "F01", 15, 1025, 1039, 0x01},  {"2", "F02", 23, 1040, 1062, 0x02},
    {"2", "F03", 17, 1063, 1079, 0x03},  {"3", "F04", 21, 1080, 1100, 0x04},  {"3", "F05", 27, 1101, 1127, 0x05},
    {"3", "F06", 37, 1128, 1164, 0x06},  {"3", "F07", 11, 1165, 1175, 0x07},  {"4", "F08", 16, 1176, 1191, 0x08},
    {"4", "F09", 18, 1192, 1209, 0x09},  {"4", "F10", 26, 1210, 1235, 0x0A},  {"5", "F11", 37, 1236, 1272, 0x0B},
    {"6", "F12", 52, 1273, 1324, 0x0C},  {"6", "F13", 32, 1325, 1356, 0x0D},  {"6", "F14", 19, 1357, 1375, 0x0E},
    {"7", "F15", 9, 1376, 1384, 0x0F},   {"8", "F16", 13, 1385, 1397, 0x10},  {"9", "F17", 30, 1398, 1427, 0x11},
    {"10", "F18", 16, 1428, 1443, 0x12}, {"10", "F19", 18, 1444, 1461, 0x13}, {"10", "F20", 26, 1462, 1487, 0x14},
    {"11", "F22", 18, 1488, 1505, 0x16}, {"12", "U00", 38, 1506, 1543, 0x30}, {"12", "U01", 26, 1544, 1569, 0x31},
    {"13", "H00", 47, 1570, 1616, 0x40},
};

TEST_F(Zr48XDescription, SubgroupsHoldTheirParametersKeysAndRegisters)
{
    ASSERT_EQ(paramSubgroups.size(), std::size(zr48xSubgroups));
    std::map<std::string, int> perGroup;
    for (std::size_t i = 0; i < paramSubgroups.size(); ++i) {
        const SubgroupFigures& want = zr48xSubgroups[i];
        SCOPED_TRACE(want.code);
        EXPECT_EQ(paramSubgroups[i].groupCode, want.group);
        EXPECT_EQ(paramSubgroups[i].code, want.code);
        EXPECT_FALSE(paramSubgroups[i].name.empty());
        int count = 0, firstKey = 0, lastKey = 0;
        for (const Parameter& p : parameters) {
            if (p.subgroupCode != want.code)
                continue;
            EXPECT_EQ(p.code.substr(0, 3), want.code);
            EXPECT_EQ(p.address >> 8, want.highByte) << p.code;
            EXPECT_EQ(p.eepromAddress, want.code[0] == 'U' ? 0 : p.address + 0x8000) << p.code;
            firstKey = count++ ? firstKey : p.optionKey;
            lastKey = p.optionKey;
        }
        EXPECT_EQ(count, want.parameters);
        EXPECT_EQ(firstKey, want.firstKey);
        EXPECT_EQ(lastKey, want.lastKey);
        perGroup[want.group] += count;
    }
    const std::map<std::string, int> groupTotals = {{"1", 25},  {"2", 55},  {"3", 96},  {"4", 60}, {"5", 37},
                                                    {"6", 103}, {"7", 9},   {"8", 13},  {"9", 30}, {"10", 60},
                                                    {"11", 18}, {"12", 64}, {"13", 47}};
    EXPECT_EQ(perGroup, groupTotals);
}

TEST_F(Zr48XDescription, LoaderInvariantsAndTotals)
{
    expectZr48FamilyInvariants(1616);
    EXPECT_EQ(valueOptions.size(), 14196u);
    EXPECT_EQ(decDigitOptions.size(), 251u);
    EXPECT_EQ(histogram([](const Parameter& p) { return p.access; }), (std::map<int, int>{{0, 71}, {1, 229}, {2, 317}}));
    EXPECT_EQ(histogram([](const Parameter& p) { return p.displayFormat; }),
              (std::map<int, int>{{0, 233}, {1, 250}, {2, 74}, {3, 32}, {31, 1}, {32, 6}, {33, 4}, {34, 5}, {35, 12}}));
    EXPECT_EQ(histogram([](const Parameter& p) { return p.optionCount > 0; }).at(1), 168);
    EXPECT_EQ(histogram([](const Parameter& p) { return p.defaultText == "----"; }).at(1), 28);
    EXPECT_EQ(histogram([](const Parameter& p) { return isParameterCode(p.minText) || isParameterCode(p.maxText); })
                  .at(1),
              69);
    for (const Parameter& p : parameters) {
        if (!decDigitOptionsOf(p.optionKey).empty())
            expectDigitWord(p);
        for (const std::string* bound : {&p.minText, &p.maxText})
            if (isParameterCode(*bound)) {
                EXPECT_NE(findParameterByCode(*bound), nullptr) << p.code << " " << *bound;
            }
    }
    std::vector<std::string> readOnly;
    for (const Parameter& p : parameters)
        if (p.access == 0 && p.code[0] != 'U')
            readOnly.push_back(p.code);
    EXPECT_EQ(readOnly, (std::vector<std::string>{"F00.20", "F00.21", "F00.22", "F00.23", "H00.30", "H00.39", "H00.40"}));
}

TEST_F(Zr48XDescription, ProcedureCopiesOfZr48XAndTheirRowCounts)
{
    auto concat = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::vector<std::pair<std::vector<std::string>, int>> served = {
        {concat(codeRange("F04", 0, 9), codeRange("F22", 0, 4)), 48},
        {concat(codeRange("F05", 0, 3), codeRange("H00", 33, 38)), 41},
        {codeRange("F07", 0, 2), 14},
        {codeRange("F16", 3, 10), 38},
        {codeRange("F17", 0, 29), 390},
        {codeRange("F22", 7, 11), 41},
        {concat({"U01.00", "U01.05", "U01.10"}, codeRange("U01", 15, 25)), 35},
    };
    std::set<std::string> servedCodes;
    std::size_t procedureRows = 0;
    for (const auto& [codes, rows] : served)
        for (const std::string& code : codes) {
            EXPECT_EQ(param(code.c_str()).optionCount, rows) << code;
            EXPECT_EQ(valueOptionsOf(param(code.c_str()).optionKey).size(), static_cast<std::size_t>(rows)) << code;
            servedCodes.insert(code);
            procedureRows += static_cast<std::size_t>(rows);
        }
    EXPECT_EQ(servedCodes.size(), 85u);
    EXPECT_EQ(procedureRows, 13871u);

    std::size_t inlineParameters = 0, inlineRows = 0, digitParameters = 0;
    for (const Parameter& p : parameters) {
        digitParameters += !decDigitOptionsOf(p.optionKey).empty();
        if (p.optionCount > 0 && !servedCodes.count(p.code)) {
            ++inlineParameters;
            inlineRows += p.optionCount;
        }
    }
    EXPECT_EQ(inlineParameters, 83u);
    EXPECT_EQ(inlineRows, 325u);
    EXPECT_EQ(digitParameters, 28u);
}

// Key shift of the shared rows: the rows inserted before them.
int keyShift(const std::string& code)
{
    if (code < "F05")
        return 0;
    if (code < "F06")
        return 2;
    if (code < "F14")
        return 4;
    if (code < "F18")
        return 8;
    return 68;
}

// Fields of shared rows that Zr48X changes, as "field=value".
const std::map<std::string, std::set<std::string>>& changedFields()
{
    static const std::map<std::string, std::set<std::string>> changes = [] {
        std::map<std::string, std::set<std::string>> c;
        auto add = [&](const std::vector<std::string>& codes, const std::set<std::string>& fields) {
            for (const std::string& code : codes)
                c[code].insert(fields.begin(), fields.end());
        };
        add(codeRange("F04", 0, 9), {"maxText=58", "optionCount=48"});
        add(codeRange("F22", 0, 4), {"maxText=58", "optionCount=48"});
        add({"F04.01"}, {"defaultText=1"});
        add(codeRange("F05", 0, 3), {"maxText=42", "optionCount=41"});
        add(codeRange("F22", 7, 11), {"maxText=42", "optionCount=41"});
        add({"U01.00", "U01.05", "U01.10"}, {"maxText=44", "optionCount=35"});
        add(codeRange("U01", 15, 25), {"maxText=44", "optionCount=35"});
        add({"H00.01"}, {"maxText=3", "optionCount=4"});
        add({"H00.27", "H00.28"}, {"access=2"});
        return c;
    }();
    return changes;
}

TEST_F(Zr48XDescription, SharedRowsAreZr48RowsWithTheListedChanges)
{
    const auto& zr48 = zr48Rows();
    int shared = 0;
    for (const Parameter& x : parameters) {
        const auto it = zr48.find(x.code);
        if (it == zr48.end())
            continue;
        ++shared;
        const Parameter& z = it->second.parameter;
        SCOPED_TRACE(x.code);
        EXPECT_EQ(x.optionKey, z.optionKey + keyShift(x.code));
        std::set<std::string> differences;
        auto compare = [&](const char* field, const auto& a, const auto& b, const std::string& shown) {
            if (a != b)
                differences.insert(std::string(field) + "=" + shown);
        };
        compare("defaultText", x.defaultText, z.defaultText, x.defaultText);
        compare("minText", x.minText, z.minText, x.minText);
        compare("maxText", x.maxText, z.maxText, x.maxText);
        compare("optionCount", x.optionCount, z.optionCount, std::to_string(x.optionCount));
        compare("access", x.access, z.access, std::to_string(x.access));
        compare("subgroupCode", x.subgroupCode, z.subgroupCode, x.subgroupCode);
        compare("name", x.name, z.name, x.name);
        compare("displayFormat", x.displayFormat, z.displayFormat, std::to_string(x.displayFormat));
        compare("address", x.address, z.address, std::to_string(x.address));
        compare("eepromAddress", x.eepromAddress, z.eepromAddress, std::to_string(x.eepromAddress));
        const auto change = changedFields().find(x.code);
        EXPECT_EQ(differences, change == changedFields().end() ? std::set<std::string>{} : change->second);

        // Own rows stay those of Zr48 unless the list is one of the longer Zr48X copies.
        std::vector<std::pair<int, std::string>> values;
        for (const ValueOption& v : valueOptionsOf(x.optionKey))
            values.emplace_back(v.value, v.text);
        std::vector<std::tuple<int, int, std::string, std::string>> digits;
        for (const DecDigitOption& d : decDigitOptionsOf(x.optionKey))
            digits.emplace_back(d.digitMask, d.fieldValue, d.valueText, d.fieldName);
        EXPECT_EQ(digits, it->second.digits);
        if (x.optionCount == z.optionCount) {
            EXPECT_EQ(values, it->second.values);
        } else {  // the longer lists begin as the Zr48 ones do
            EXPECT_EQ(std::vector(values.begin(), values.begin() + 2),
                      std::vector(it->second.values.begin(), it->second.values.begin() + 2));
        }
    }
    EXPECT_EQ(shared, 531);
}

TEST_F(Zr48XDescription, InsertedRunsStandInTheMiddle)
{
    struct Run {
        std::vector<std::string> codes;
        int firstKey;
        const char* after;
        const char* before;
    };
    std::vector<std::string> pumpRun = codeRange("H00", 29, 40);
    for (const std::string& code : codeRange("H00", 42, 47))
        pumpRun.push_back(code);
    std::vector<std::string> motor2 = codeRange("F18", 0, 5);
    for (const auto& part : {codeRange("F18", 8, 15), codeRange("F18", 21, 21), codeRange("F18", 30, 30),
                             codeRange("F19", 0, 17), codeRange("F20", 0, 14), codeRange("F20", 16, 26)})
        motor2.insert(motor2.end(), part.begin(), part.end());
    const Run runs[] = {
        {codeRange("F04", 19, 20), 1099, "F04.18", "F05.00"},
        {codeRange("F05", 26, 27), 1126, "F05.24", "F06.00"},
        {codeRange("F13", 28, 31), 1353, "F13.27", "F14.00"},
        {motor2, 1428, "F17.29", "F22.00"},
        {pumpRun, 1599, "H00.28", nullptr},
    };
    const auto& zr48 = zr48Rows();
    for (const Run& run : runs) {
        SCOPED_TRACE(run.codes.front());
        EXPECT_EQ(param(run.after).optionKey, run.firstKey - 1);
        for (std::size_t i = 0; i < run.codes.size(); ++i) {
            EXPECT_EQ(param(run.codes[i].c_str()).optionKey, run.firstKey + static_cast<int>(i)) << run.codes[i];
            EXPECT_EQ(zr48.count(run.codes[i]), 0u) << run.codes[i];
        }
        if (run.before) {
            EXPECT_EQ(param(run.before).optionKey, run.firstKey + static_cast<int>(run.codes.size()));
        }
    }
    EXPECT_EQ(motor2.size(), 60u);
    EXPECT_EQ(pumpRun.size(), 18u);
    EXPECT_EQ(parameters[parameters.size() - 1].code, "H00.47");
    EXPECT_EQ(param("H00.47").address, 0x402F);
    EXPECT_EQ(param("H00.47").eepromAddress, 0xC02F);
}

TEST_F(Zr48XDescription, RegistersOffTheRuleAndGaps)
{
    const std::map<std::string, int> offRule = {
        {"F18.08", 0x1206}, {"F18.09", 0x1207}, {"F18.10", 0x1208}, {"F18.11", 0x1209}, {"F18.12", 0x120A},
        {"F18.13", 0x120B}, {"F18.14", 0x120C}, {"F18.15", 0x120D}, {"F18.21", 0x1213}, {"F18.30", 0x121C},
    };
    std::set<int> addresses;
    for (const Parameter& p : parameters) {
        const int high = p.address >> 8;
        EXPECT_TRUE(addresses.insert(p.address).second) << p.code;
        EXPECT_NE(high, 0x15) << p.code;
        const auto exception = offRule.find(p.code);
        const int index = std::stoi(p.code.substr(4));
        if (exception != offRule.end()) {
            EXPECT_EQ(p.address, exception->second) << p.code;
            EXPECT_EQ(p.address, 0x1200 + index - 2) << p.code;
        } else {
            EXPECT_EQ(p.address & 0xFF, index) << p.code;
        }
        EXPECT_EQ(p.eepromAddress, p.code[0] == 'U' ? 0 : p.address + 0x8000) << p.code;
    }
    EXPECT_EQ(param("F18.05").address, 0x1205);
    EXPECT_EQ(param("F18.08").eepromAddress, 0x9206);
    EXPECT_EQ(param("F19.17").address, 0x1311);
    EXPECT_EQ(param("F20.26").address, 0x141A);
    EXPECT_EQ(param("F20.26").eepromAddress, 0x941A);
    for (int missing : {0x120E, 0x120F, 0x1215, 0x121E, 0x0519, 0x4029})
        EXPECT_EQ(addresses.count(missing), 0u) << std::hex << missing;
    for (const char* code : {"F05.25", "H00.41", "F21.00"})
        EXPECT_EQ(findParameterByCode(code), nullptr) << code;
}

std::string renamedForMotor2(std::string text)
{
    for (auto [from, to] : {std::pair{"F09.", "F19."}, std::pair{"F10.", "F20."}, std::pair{"двигателя 1", "двигателя 2"}})
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
            text.replace(at, std::string(from).size(), to);
    return text;
}

TEST_F(Zr48XDescription, Motor2RowsAreTwinsOfMotor1)
{
    const auto& zr48 = zr48Rows();
    int twins = 0;
    for (const Parameter& p : parameters) {
        if (p.subgroupCode != "F18" && p.subgroupCode != "F19" && p.subgroupCode != "F20")
            continue;
        ++twins;
        std::string twinCode = p.code;
        --twinCode[1];  // F18 -> F08, F20 -> F10
        const SharedRow& twin = zr48.at(twinCode);
        const Parameter& t = twin.parameter;
        SCOPED_TRACE(p.code);
        std::string expectedName = renamedForMotor2(t.name);
        if (p.code == "F18.21")
            expectedName += " 2";  // motor 1 has no number in this name
        EXPECT_EQ(p.name, expectedName);
        EXPECT_EQ(p.defaultText, t.defaultText);
        EXPECT_EQ(p.maxText, renamedForMotor2(t.maxText));  // F19.09 keeps motor 1's F08.04
        EXPECT_EQ(p.access, t.access);
        EXPECT_EQ(p.optionCount, t.optionCount);
        if (p.code == "F18.04") {
            EXPECT_EQ(p.displayFormat, 1);
            EXPECT_EQ(p.minText, "20.0");
        } else {
            EXPECT_EQ(p.displayFormat, t.displayFormat);
            EXPECT_EQ(p.minText, renamedForMotor2(t.minText));
        }
        const auto rows = valueOptionsOf(p.optionKey);
        ASSERT_EQ(rows.size(), twin.values.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].value, twin.values[i].first);
            EXPECT_EQ(rows[i].text, renamedForMotor2(twin.values[i].second));
        }
    }
    EXPECT_EQ(twins, 60);
    EXPECT_EQ(param("F19.09").maxText, "F08.04");
    EXPECT_EQ(param("F19.03").maxText, "F19.05");
}

TEST_F(Zr48XDescription, AddedRowsOfNote)
{
    const Parameter& f1331 = param("F13.31");
    EXPECT_FALSE(f1331.name.empty());
    EXPECT_NE(f1331.name, param("F13.30").name);
    EXPECT_EQ(param("F13.29").name, param("F13.25").name);

    const auto h0029 = valueOptionsOf(param("H00.29").optionKey);
    ASSERT_EQ(h0029.size(), 2u);
    EXPECT_EQ(h0029[0].value, 1);
    EXPECT_EQ(h0029[1].value, 2);
    EXPECT_EQ(param("H00.29").minText, "1");

    const auto h0001 = valueOptionsOf(param("H00.01").optionKey);
    ASSERT_EQ(h0001.size(), 4u);
    EXPECT_EQ(h0001[3].value, 3);

    for (const char* code : {"H00.30", "H00.39", "H00.40"})
        EXPECT_EQ(param(code).access, 0) << code;
    EXPECT_EQ(param("H00.30").eepromAddress, 0xC01E);
    EXPECT_EQ(param("H00.39").eepromAddress, 0xC027);
    EXPECT_EQ(param("H00.40").eepromAddress, 0xC028);
    EXPECT_EQ(param("H00.40").displayFormat, 31);
    EXPECT_EQ(param("H00.42").optionKey, param("H00.40").optionKey + 1);
    EXPECT_EQ(decDigitOptionsOf(param("H00.30").optionKey).size(), 6u);
    EXPECT_EQ(decDigitOptionsOf(param("H00.39").optionKey).size(), 10u);
    EXPECT_EQ(decDigitOptionsOf(param("H00.39").optionKey)[8].fieldName, "R7");

    // Expansion relays default to pump outputs that only the Zr48X output list names.
    for (const char* code : {"H00.33", "H00.34", "H00.35", "H00.36", "H00.37", "H00.38"}) {
        const int value = std::stoi(param(code).defaultText);
        bool named = false;
        for (const ValueOption& row : valueOptionsOf(param(code).optionKey))
            named = named || row.value == value;
        EXPECT_TRUE(named) << code;
    }
}

TEST_F(Zr48XDescription, LoadsLeaveEachOtherUntouched)
{
    EXPECT_EQ(parameters.size(), 617u);
    const std::string x = dumpDescription();
    loadZr48();
    const std::string zr48 = dumpDescription();
    loadZr48X();
    EXPECT_TRUE(sameDump(dumpDescription(), x));
    loadZr48();
    EXPECT_TRUE(sameDump(dumpDescription(), zr48));
}

}  // namespace
