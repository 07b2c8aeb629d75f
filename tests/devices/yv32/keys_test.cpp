#include <gtest/gtest.h>

#include <string>

#include "tests/devices/yv32/yv32_test_support.h"

using namespace description_checks;

namespace {

struct KeyCase {
    const char* code;
    std::int32_t yv32Key;  // 0: no such row
    std::int32_t yv33Key;
};

// First and last rows of the subgroups, and the rows around the hoist subgroup of Yv33.
const KeyCase keyCases[] = {
    {"P00.00", 1000, 1000}, {"r00.22", 1015, 1015}, {"P01.00", 1016, 1016}, {"P01.48", 1064, 1064},
    {"P02.00", 1065, 1065}, {"P03.01", 1085, 1085}, {"P03.02", 1086, 1086}, {"P03.20", 1104, 1104},
    {"P04.00", 1105, 1105}, {"r05.00", 1152, 1152}, {"P05.12", 1164, 1164}, {"r06.00", 1165, 1165},
    {"P06.10", 1175, 1175}, {"P06.36", 1199, 1199}, {"r07.00", 1200, 1200}, {"P07.19", 1219, 1219},
    {"P08.00", 1220, 1220}, {"P08.13", 1233, 1233}, {"P10.01", 1234, 1234}, {"r10.15", 1244, 1244},
    {"r11.00", 1245, 1245}, {"P11.18", 1262, 1262}, {"P12.00", 1263, 1263}, {"P13.00", 1284, 1284},
    {"P14.00", 1302, 1302}, {"r16.00", 1317, 1317}, {"P16.07", 1323, 1323}, {"P20.00", 1324, 1324},
    {"P21.17", 1360, 1360}, {"P22.00", 1361, 1361}, {"P24.14", 1416, 1416}, {"r25.00", 1417, 1417},
    {"r25.16", 1433, 1433}, {"r26.00", 1434, 1434}, {"r26.23", 1457, 1457}, {"r27.00", 1458, 1458},
    {"r27.21", 1476, 1476}, {"P30.00", 1477, 1477}, {"P30.15", 1492, 1492}, {"P31.00", 1493, 1493},
    {"r31.13", 1501, 1501}, {"r40.00", 1502, 1502}, {"P40.42", 1541, 1541}, {"P41.00", 1542, 1542},
    {"P41.07", 1549, 1549}, {"r42.00", 1550, 1550}, {"P42.26", 1576, 1576}, {"r43.00", 1577, 1577},
    {"\u0420" "43.01", 1578, 1578}, {"\u0420" "43.17", 1594, 1594}, {"r44.00", 1595, 1595},
    {"P44.41", 1636, 1636}, {"r45.00", 1637, 1637}, {"P45.14", 1647, 1647}, {"P59.00", 0, 1648},
    {"P59.24", 0, 1668}, {"P60.00", 1648, 1669}, {"r61.00", 1653, 1674}, {"P62.00", 1671, 1692},
    {"P63.00", 1692, 1713}, {"P63.22", 1709, 1730},
};

TEST(Yv32Keys, KeysOfNamedRowsInBothModels)
{
    for (Model model : {Model::yv32, Model::yv33}) {
        loadModel(model);
        for (const KeyCase& c : keyCases) {
            const std::int32_t expected = model == Model::yv32 ? c.yv32Key : c.yv33Key;
            const Parameter* p = findParameterByCode(c.code);
            if (expected == 0) {
                EXPECT_EQ(p, nullptr) << c.code;
                continue;
            }
            ASSERT_NE(p, nullptr) << modelTitle(model) << " " << c.code;
            EXPECT_EQ(p->optionKey, expected) << modelTitle(model) << " " << c.code;
        }
    }
}

TEST(Yv32Keys, DelayModuleCodesTakeTheCyrillicLetter)
{
    for (Model model : {Model::yv32, Model::yv33}) {
        loadModel(model);
        EXPECT_EQ(findParameterByCode("P43.01"), nullptr);  // Latin P names no parameter
        const Parameter* p = findParameterByCode("\u0420" "43.01");
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(codePoints(p->code)[0], U'\u0420');
        EXPECT_EQ(p->subgroupCode, "43");
        EXPECT_EQ(codePoints(p->name).substr(0, 3), U"\u041B\u043E\u0433");  // the delay-block logic word
        EXPECT_TRUE(p->name.ends_with(" 1-4"));
        int cyrillic = 0;
        for (const Parameter& q : parameters)
            if (codePoints(q.code)[0] == U'\u0420') {
                ++cyrillic;
                EXPECT_EQ(q.subgroupCode, "43") << q.code;
            }
        EXPECT_EQ(cyrillic, 17);
        EXPECT_EQ(param("r43.00").code, "r43.00");
    }
}

}  // namespace
