#include <gtest/gtest.h>

#include <string>

#include "app/typed_entry.h"
#include "description/description.h"
#include "tests/support/russian_numbers.h"

namespace {

struct NormaliseCase {
    std::string typed;
    std::uint16_t decimals;
    const char* entry;
};

TEST(NormaliseEntry, ReadsAndWritesThePointOnEveryDesktop)
{
    const NormaliseCase cases[] = {
        {"12.5", 2, "12.50"}, {"12.5", 1, "12.5"}, {"12.5", 0, "12"}, {"2.675", 2, "2.67"}, {"-30.5", 1, "-30.5"},
        {"-0.001", 2, "0.00"}, {"", 1, "0.0"}, {"-", 0, "0"}, {".", 2, "0.00"}, {".5", 1, "0.5"}, {"5.", 1, "5.0"},
        {"1.2.3", 1, "1.2"}, {"12,5", 1, "12.0"}, {"0.000001", 9, "0.000001000"},
        {"0." + std::string(400, '0') + "1", 2, "0.00"},
    };
    RussianNumbers russian;
    ASSERT_RUSSIAN_NUMBERS(russian);
    for (const NormaliseCase& c : cases)
        EXPECT_EQ(normaliseEntry(c.typed, c.decimals), c.entry) << c.typed.substr(0, 40) << " / " << c.decimals;

    // Past the range of a double: the largest one of that sign (309 digits), which a limit clamps.
    const std::string huge = normaliseEntry("1" + std::string(400, '0'), 1);
    EXPECT_TRUE(huge.starts_with("17976931348623157") && huge.ends_with(".0") && huge.size() == 311) << huge;
    EXPECT_TRUE(normaliseEntry("-1" + std::string(400, '0') + ".5", 0).starts_with("-17976931348623157"));
}

Parameter limitedBy(const char* minText, const char* maxText, std::uint16_t decimals)
{
    Parameter p;
    p.code = "X0.0.01";
    p.minText = minText;
    p.maxText = maxText;
    p.displayFormat = decimals;
    p.access = 2;
    return p;
}

struct ClampCase {
    Parameter parameter;
    std::string typed;
    const char* shown;
};

// An entry too large or too small for any integer stays too large or too small: it becomes the
// nearer limit, never a wrapped value that passes the limits or lands on the other one.
TEST(ClampedEntry, NumbersPastEveryRangeBecomeTheNearerLimit)
{
    const ClampCase cases[] = {
        {limitedBy("0", "100", 0), "18446744073709551616", "100"},
        {limitedBy("0", "65535", 0), "18446744073709555712", "65535"},
        {limitedBy("0", "100", 0), "10000000000000000000", "100"},
        {limitedBy("0", "100", 0), "99999999999999999999999999", "100"},
        {limitedBy("0", "100", 0), "1" + std::string(400, '0'), "100"},
        {limitedBy("0.00", "50.00", 2), "10000000000000000000", "50.00"},
        {limitedBy("-100.0", "100.0", 1), "-18446744073709551616", "-100.0"},
        {limitedBy("-100.0", "100.0", 1), "-1" + std::string(400, '0'), "-100.0"},
        // Without limits the register's range bounds the entry.
        {limitedBy("----", "----", 0), "18446744073709551616", "65535"},
        {limitedBy("-40000.0", "----", 1), "18446744073709551616", "3276.7"},
        {limitedBy("-40000.0", "----", 1), "-18446744073709551616", "-40000.0"},
    };
    for (const ClampCase& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 40) + " in " + c.parameter.minText + " ... " + c.parameter.maxText);
        EXPECT_EQ(clampedEntry(normaliseEntry(c.typed, decimalsOf(c.parameter)), c.parameter), c.shown);
    }
}

}  // namespace
