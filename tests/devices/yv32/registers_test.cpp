#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/devices/yv32/yv32_test_support.h"

using namespace description_checks;

namespace {

class Yv32RegistersTest : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override { loadModel(GetParam()); }
};

int twoDigits(const std::string& text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

TEST_P(Yv32RegistersTest, AddressRuleHoldsForAllButTwoReadings)
{
    std::set<std::string> offRule;
    std::set<int> addresses;
    for (const Parameter& p : parameters) {
        const std::size_t n = p.code.size();
        const int ruleAddress = twoDigits(p.code, n - 5) * 256 + twoDigits(p.code, n - 2);
        EXPECT_EQ(p.registerTable, tableHoldingRegisters) << p.code;
        EXPECT_EQ(p.eepromAddress, p.address + 0x8000) << p.code;
        EXPECT_TRUE(addresses.insert(p.address).second) << p.code << " shares its register";
        if (p.address != ruleAddress)
            offRule.insert(p.code);
    }
    EXPECT_EQ(offRule, (std::set<std::string>{"r22.17", "r22.18"}));
    EXPECT_EQ(addresses.count(0x1611), 0u);
}

struct RegisterCase {
    const char* code;
    std::uint16_t address;
    std::uint16_t eepromAddress;
};

const RegisterCase registerCases[] = {
    {"P00.00", 0x0000, 0x8000}, {"P01.12", 0x010C, 0x810C}, {"P01.18", 0x0112, 0x8112},
    {"P02.19", 0x0213, 0x8213}, {"r05.00", 0x0500, 0x8500}, {"P06.10", 0x060A, 0x860A},
    {"P06.36", 0x0624, 0x8624}, {"P10.01", 2561, 35329},    {"r14.16", 3600, 36368},
    {"r16.00", 4096, 36864},    {"P21.12", 0x150C, 0x950C}, {"r22.16", 0x1610, 0x9610},
    {"r22.17", 0x1612, 0x9612}, {"r22.18", 0x1613, 0x9613}, {"r26.16", 0x1A10, 0x9A10},
    {"r27.21", 0x1B15, 0x9B15}, {"P30.00", 0x1E00, 0x9E00}, {"r31.13", 0x1F0D, 0x9F0D},
    {"P40.05", 10245, 43013},   {"r43.00", 11008, 43776},   {"\u0420" "43.01", 11009, 43777},
    {"\u0420" "43.17", 11025, 43793}, {"P44.32", 0x2C20, 0xAC20}, {"P45.14", 0x2D0E, 0xAD0E},
    {"P60.00", 15360, 48128},   {"P61.04", 15620, 48388},   {"P62.13", 15885, 48653},
    {"P63.22", 16150, 48918},
};

TEST_P(Yv32RegistersTest, RegistersOfNamedRows)
{
    for (const RegisterCase& c : registerCases) {
        const Parameter* p = findParameterByCode(c.code);
        ASSERT_NE(p, nullptr) << c.code;
        EXPECT_EQ(p->address, c.address) << c.code;
        EXPECT_EQ(p->eepromAddress, c.eepromAddress) << c.code;
    }
}

TEST(Yv32HoistRegisters, SubgroupFiftyNineSkipsIndexes19To22)
{
    loadModel(Model::yv33);
    EXPECT_EQ(param("P59.00").address, 0x3B00);
    EXPECT_EQ(param("P59.18").address, 0x3B12);
    EXPECT_EQ(param("P59.23").address, 0x3B17);
    EXPECT_EQ(param("P59.24").eepromAddress, 0xBB18);
    EXPECT_EQ(param("P59.23").optionKey, param("P59.18").optionKey + 1);
}

INSTANTIATE_TEST_SUITE_P(BothModels, Yv32RegistersTest, ::testing::Values(Model::yv32, Model::yv33),
                         [](const auto& info) { return info.param == Model::yv32 ? "Yv32" : "Yv33"; });

}  // namespace
