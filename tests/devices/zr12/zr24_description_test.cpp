#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "description/description_store.h"
#include "devices/zr12/loaders.h"
#include "tests/support/description_checks.h"

using namespace description_checks;

namespace {

// The Zr12 description by code, to hold the Zr24 rows against.
std::map<std::string, StoredParameter> loadZr12ByCode()
{
    clearDeviceDescription();
    loadDescriptionZr12();
    return parametersByCode();
}

class Zr24Description : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearDeviceDescription();
        loadDescriptionZr24();
    }
};

TEST_F(Zr24Description, TotalsAndInvariants)
{
    EXPECT_EQ(currentModelName, "ПЧ Halmer Zr24");
    EXPECT_EQ(parameters.size(), 462u);
    EXPECT_EQ(currentOptionKey, 1461);
    expectLoaderInvariants();
    EXPECT_EQ(valueOptions.size(), 13301u);
    EXPECT_EQ(bitOptions.size(), 80u);
    EXPECT_EQ(decDigitOptions.size(), 1888u);
    EXPECT_EQ(hexDigitOptions.size(), 400u);
    EXPECT_EQ(choiceParameterCount(), 94);
    EXPECT_EQ(histogram(&Parameter::access), (std::map<int, int>{{0, 66}, {1, 109}, {2, 287}}));
    const auto formats = histogram(&Parameter::displayFormat);
    EXPECT_EQ(formats.at(0), 155);
    EXPECT_EQ(formats.at(1), 144);
    EXPECT_EQ(countWithPrefix("P2"), 77u);
    EXPECT_EQ(countWithPrefix("P2.0"), 27u);
    EXPECT_EQ(countWithPrefix("P2.1"), 27u);
    EXPECT_EQ(findParameterByCode("P2.0.00"), nullptr);
    EXPECT_EQ(findParameterByCode("P2.1.26"), nullptr);
}

TEST_F(Zr24Description, KeysShiftAndRegistersStay)
{
    struct Named {
        const char* code;
        int key;
        int address;
        int eeprom;
    };
    const Named named[] = {
        {"P1.1.19", 1097, 0x1512, 0x1112}, {"P2.0.01", 1098, 0x2401, 0x2001}, {"P2.1.25", 1148, 0x2519, 0x2119},
        {"P2.1.27", 1149, 0x251B, 0x211B}, {"P3.0.43", 1218, 0x342C, 0x302B}, {"P3.0.44", 1219, 0x342D, 0x302C},
        {"P5.1.04", 1326, 0x5504, 0x5104}, {"P9.0.30", 1461, 0x941E, 0},
    };
    for (const Named& n : named) {
        const Parameter& p = param(n.code);
        EXPECT_EQ(p.optionKey, n.key) << n.code;
        EXPECT_EQ(p.address, n.address) << n.code;
        EXPECT_EQ(p.eepromAddress, n.eeprom) << n.code;
    }
    EXPECT_EQ(paramSubgroups[4].code, "P2.0");
    EXPECT_EQ(parameters[98].code, "P2.0.01");
    EXPECT_EQ(param("P2.0.01").name, "Функции клеммы DI2");
    EXPECT_EQ(valueOptionsOf(1098).size(), 61u);
    // P2.0.01's rows come right after the last row of P1.1.14, the last choice of group P1.
    std::size_t first = 0;
    while (valueOptions[first].optionKey != 1098)
        ++first;
    EXPECT_EQ(valueOptions[first - 1].optionKey, param("P1.1.14").optionKey);
}

// Everything not listed as a difference equals the Zr12 description row for row.
TEST_F(Zr24Description, EqualsZr12ApartFromTheListedDifferences)
{
    const std::string zr24Head = dumpDescription().substr(0, dumpDescription().find("\nP "));
    std::vector<std::string> zr24Codes;
    for (const Parameter& p : parameters)
        zr24Codes.push_back(p.code);
    const std::map<std::string, StoredParameter> zr24 = parametersByCode();
    const std::map<std::string, StoredParameter> zr12 = loadZr12ByCode();
    std::string zr12Head = dumpDescription().substr(0, dumpDescription().find("\nP "));
    zr12Head.replace(0, zr12Head.find('\n'), "ПЧ Halmer Zr24");
    EXPECT_EQ(zr24Head, zr12Head);

    std::vector<std::string> zr12CodesWithoutDi1;
    for (const Parameter& p : parameters)
        if (p.code != "P2.0.00" && p.code != "P2.1.26")
            zr12CodesWithoutDi1.push_back(p.code);
    EXPECT_EQ(zr24Codes, zr12CodesWithoutDi1);

    for (const auto& [code, mine] : zr24) {
        const StoredParameter& theirs = zr12.at(code);
        const bool userSlot = code.rfind("P7.0.", 0) == 0;
        std::string expectedFields = paramFields(theirs.parameter);
        if (userSlot)
            expectedFields.replace(expectedFields.find("|416|"), 5, "|415|");
        EXPECT_EQ(paramFields(mine.parameter), expectedFields) << code;
        EXPECT_EQ(mine.parameter.optionKey,
                  theirs.parameter.optionKey - (code < "P2.0.00" ? 0 : code < "P2.1.26" ? 1 : 2))
            << code;
        if (code != "P9.0.07" && !userSlot) {
            EXPECT_EQ(mine.optionRows, theirs.optionRows) << code;
        }
    }
    const std::string zr12Bits = zr12.at("P9.0.07").optionRows;
    EXPECT_EQ(zr24.at("P9.0.07").optionRows, "B0|Резерв" + zr12Bits.substr(zr12Bits.find('\n')));
    std::string zr12UserRows = zr12.at("P7.0.05").optionRows;
    const std::size_t di1 = zr12UserRows.find("V2000|");
    zr12UserRows.erase(di1, zr12UserRows.find('\n', di1) + 1 - di1);
    for (const auto& [code, mine] : zr24) {
        if (code.rfind("P7.0.", 0) == 0) {
            EXPECT_EQ(mine.optionRows, zr12UserRows) << code;
        }
    }
}

TEST_F(Zr24Description, ProcedureFieldsAndUserFunctionChoices)
{
    for (const char* code : {"P2.0.01", "P2.0.05"}) {
        const Parameter& p = param(code);
        EXPECT_EQ(p.optionCount, 61);
        EXPECT_EQ(p.displayFormat, 0);
        EXPECT_EQ(p.minText, "0");
        EXPECT_EQ(p.maxText, "60");
    }
    const Parameter& slot = param("P7.0.01");
    EXPECT_EQ(slot.optionCount, 415);
    const auto rows = valueOptionsOf(slot.optionKey);
    ASSERT_EQ(rows.size(), 415u);
    EXPECT_EQ(rows[97].text, "P1.1.19-Время уменьшения момента, с");
    EXPECT_EQ(rows[98].value, 2001);
    EXPECT_EQ(rows[98].text, "P2.0.01-Функции клеммы DI2");
    EXPECT_EQ(rows.back().value, 9030);
    EXPECT_EQ(bitOptionsOf(param("P9.0.07").optionKey)[0].text, "Резерв");
    EXPECT_EQ(bitOptionsOf(param("P9.0.07").optionKey)[1].text, "DI2");
    EXPECT_EQ(decDigitOptionsOf(param("P3.2.02").optionKey)[10].valueText, "DI1");
}

TEST_F(Zr24Description, SecondLoadAfterClearingIsIdentical)
{
    expectSecondLoadAfterClearingIsIdentical(loadDescriptionZr24);
}

}  // namespace
