#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "description/description_store.h"
#include "description/loader_kit.h"
#include "description/value_text.h"

namespace {

const std::string readOnlyMark = "\u0422\u043E\u043B\u044C\u043A\u043E \u0447\u0442\u0435\u043D\u0438\u0435";
const std::string readOnlyDefault = "\u0422\u043E\u043B\u044C\u043A\u043E \u0434\u043B\u044F \u0447\u0442\u0435\u043D\u0438\u044F";
const std::string forwardText = "\u041F\u0440\u044F\u043C\u043E\u0435 \u0432\u0440\u0430\u0449\u0435\u043D\u0438\u0435";

struct ParseCase {
    std::string text;
    std::int32_t value;
};

TEST(ParseValueText, ReadsEveryFormOfValueText)
{
    const ParseCase cases[] = {
        {"", 0}, {"----", 0}, {readOnlyDefault, 0}, {" 12", 12}, {"\t-3", -3}, {"+7", 7}, {"12abc", 12},
        {"$ff", 255}, {"$FFFF", 65535}, {"$1A3", 419}, {"-$10", -16}, {"%101", 5}, {"%12", 1},
        {"-0.5", -5}, {"-1.5", -15}, {"-100.0", -1000}, {"0.700", 700}, {"50.00", 5000}, {"6500.0", 65000},
        {"1.2.3", 12}, {"1.", 1}, {".5", 5}, {" -0.05", -5}, {"12.a", 120},
        // Past the 32-bit range a text gives the range's nearer end, never a wrapped number.
        {"4294967295", INT_MAX}, {"4294967296", INT_MAX}, {"18446744073709551616", INT_MAX},
        {"-99999999999", INT_MIN}, {"$FFFFFFFFFFFFFFFFFF", INT_MAX}, {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN}, {"99999999999.9", INT_MAX}, {"2147483647.0", INT_MAX},
        {"-2147483648.0", INT_MIN}, {"-99999999999.9", INT_MIN}, {"214748364.7", 2147483647},
        {"99999999999999999999.00", INT_MAX},
        // A fraction of absurd length must not turn 0 x 10^n into NaN.
        {"0." + std::string(400, '0'), 0}, {"1." + std::string(400, '0'), INT_MAX},
        {"-1." + std::string(400, '0'), INT_MIN},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(parseValueText(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseValueText, SixtyFourBitReadingKeepsLargeLimits)
{
    EXPECT_EQ(parseValueText64("4294967295"), 4294967295LL);
    EXPECT_LT(parseValueText64("65535"), parseValueText64("4294967295"));
    EXPECT_EQ(parseValueText64("-100.0"), -1000);
    EXPECT_EQ(parseValueText64("99999999999.9"), 999999999999LL);
    // Past the 64-bit range: the nearer end, so an entry beyond every limit stays above them all.
    for (const char* huge : {"18446744073709551616", "10000000000000000000", "9223372036854775808",
                             "100000000000000000000.00", "$FFFFFFFFFFFFFFFFFF", "%1111111111111111111111111111111111111111111111111111111111111111"})
        EXPECT_EQ(parseValueText64(huge), LLONG_MAX) << huge;
    for (const char* huge : {"-18446744073709551616", "-9223372036854775809", "-100000000000000000000.00"})
        EXPECT_EQ(parseValueText64(huge), LLONG_MIN) << huge;
    EXPECT_EQ(parseValueText64("9223372036854775807"), LLONG_MAX);
    EXPECT_EQ(parseValueText64("-9223372036854775808"), LLONG_MIN);
    EXPECT_EQ(parseValueText64("9223372036854775806"), LLONG_MAX - 1);
}

struct FormatCase {
    std::int32_t value;
    std::uint16_t decimals;
    const char* text;
};

TEST(FormatFixedPoint, WritesTheSignForTheWholeNumber)
{
    const FormatCase cases[] = {
        {0, 2, "0.00"}, {-5, 1, "-0.5"}, {-1000, 1, "-100.0"}, {65535, 0, "65535"}, {100, 2, "1.00"},
        {1234, 2, "12.34"}, {5, 2, "0.05"}, {-15, 1, "-1.5"}, {0, 3, "0.000"}, {-300, 0, "-300"},
        {INT_MIN, 0, "-2147483648"}, {INT_MIN, 9, "-2.147483648"}, {7, 12, "0.000000007"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(formatFixedPoint(c.value, c.decimals), c.text) << c.value << " / " << c.decimals;
}

TEST(DisplayText, PadsToTheFormatsDigitsAndNeverCuts)
{
    const FormatCase cases[] = {
        {419, 23, "$1A3"}, {7, 33, "007"}, {5, 14, "0101"}, {1234, 2, "12.34"}, {-15, 1, "-1.5"},
        {419, 22, "$1A3"}, {419, 20, "$1A3"}, {5, 10, "101"}, {0, 10, "0"}, {0, 20, "$0"}, {12345, 33, "12345"},
        {0, 30, "0"}, {419, 43, "$1A3"}, {5, 44, "$0005"}, {0, 40, "$0"},
        // Patterns show the low 16 bits; decimal digits keep the sign in front of the padding.
        {-1, 24, "$FFFF"}, {70000, 24, "$1170"}, {-1, 16, "1111111111111111"}, {-5, 33, "-005"},
        {1234, 50, "0.000001234"}, {1234, 65535, "0.000001234"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(displayText(c.value, c.decimals), c.text) << c.value << " in format " << c.decimals;
}

class ValueTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearDeviceDescription();
        beginDescription("Model");
    }
    void TearDown() override { clearDeviceDescription(); }

    static Parameter& add(const char* code, const char* minText, const char* maxText, const char* defaultText,
                          std::uint16_t format = 0, std::uint16_t access = 1, std::uint16_t optionCount = 0)
    {
        return appendParameter("S", {code, "name", minText, maxText, defaultText, format, access, optionCount},
                               {0x0400, 0x0400, 4});
    }
};

TEST_F(ValueTextTest, TableTextsThatDoNotDependOnTheValue)
{
    Parameter& p = add("P0.0.01", "0.00", "P0.0.07", "50.00", 2);
    EXPECT_EQ(rangeText(p), "0.00 ... P0.0.07");
    p.maxText = "----";
    EXPECT_EQ(rangeText(p), "");
    p.maxText = "1";
    p.minText = "----";
    EXPECT_EQ(rangeText(p), "");

    EXPECT_EQ(defaultCellText(p), "50.00");
    p.access = 0;
    EXPECT_EQ(defaultCellText(p), readOnlyMark);

    EXPECT_EQ(registerAddressText(1024), "1024 (0x0400)");
    EXPECT_EQ(registerAddressText(0), "0 (0x0000)");
    EXPECT_EQ(registerAddressText(0xABCD), "43981 (0xABCD)");

    p.access = 1;
    p.address = 0x0001;
    p.eepromAddress = 0x8001;
    EXPECT_EQ(eepromAddressText(p), "32769 (0x8001)");
    p.eepromAddress = p.address;
    EXPECT_EQ(eepromAddressText(p), "");
    p.eepromAddress = 0x8001;
    p.access = 0;
    EXPECT_EQ(eepromAddressText(p), "");
}

TEST_F(ValueTextTest, OptionTextComesOnlyFromTheParametersOwnRows)
{
    const ValueRow first[] = {{0, "Stop"}, {1, forwardText.c_str()}, {1, "second match"}};
    constexpr ValueRow second[] = {{5, "other parameter"}};
    const std::int32_t key = add("P0.0.02", "0", "1", "0", 0, 1, 2).optionKey;
    appendValueOptions(first);
    add("P0.0.03", "0", "9", "5", 0, 1, 1);
    appendValueOptions(second);

    const Parameter& p = *findParameterByKey(key);
    EXPECT_EQ(optionText(p, 1), "1: " + forwardText);
    EXPECT_EQ(valueCellText(p, 0), "0: Stop");
    EXPECT_EQ(optionText(p, 5), "");
    EXPECT_EQ(optionText(p, 65537), "");
}

TEST_F(ValueTextTest, LimitsNamingAParameterResolveToItsCurrentValue)
{
    Parameter& writable = add("P0.0.07", "0.00", "600.00", "50.00", 2);
    writable.setValue = 5000;
    writable.readValue = 1;
    Parameter& readOnly = add("F00.15", "0.700", "2.000", "----", 3, 0);
    readOnly.readValue = 1500;
    readOnly.setValue = 2;

    EXPECT_EQ(resolvedLimitText("P0.0.07"), "50.00");
    EXPECT_EQ(resolvedLimitText("F00.15"), "1.500");
    EXPECT_EQ(resolvedLimitText("$FFFF"), "$FFFF");
    EXPECT_EQ(parseValueText(resolvedLimitText("$FFFF")), 65535);
    EXPECT_EQ(resolvedLimitText("P9.9.99"), "P9.9.99");
    EXPECT_EQ(resolvedLimitText("600.00"), "600.00");
    EXPECT_EQ(limitTarget("P0.0.07"), &*findParameterByCode("P0.0.07"));
    EXPECT_EQ(limitTarget("100"), nullptr);
}

TEST_F(ValueTextTest, InitialValuesFromDefaultsAndMinimums)
{
    const std::int32_t first = add("F00.13", "F00.15", "600.00", "----", 2).optionKey;
    add("F00.15", "0.700", "2.000", "1.000", 3);
    add("U00.00", "0", "100", readOnlyDefault.c_str(), 0, 0);
    add("U00.01", "----", "----", "----", 0, 0);
    add("U00.17", "-100.0", "100.0", "", 1, 0);
    add("F00.20", "0", "10", "50");              // default outside the range is kept
    add("F00.21", "F00.22", "100", "----");      // minimum named by code: a signed target
    add("F00.22", "-40", "40", "-5");
    add("F00.23", "H01", "100", "----");         // names no parameter: parsed as text
    add("F00.24", "$FF", "$FFFF", "----");
    for (Parameter& p : parameters)
        p.readValue = p.setValue = 12345;

    EXPECT_EQ(initialValuesFromDefaults(), 0);

    const std::pair<const char*, std::int32_t> expected[] = {
        {"F00.13", 700}, {"F00.15", 1000}, {"U00.00", 0}, {"U00.01", 0}, {"U00.17", -1000},
        {"F00.20", 50}, {"F00.21", -40}, {"F00.22", -5}, {"F00.23", 0}, {"F00.24", 255},
    };
    for (const auto& [code, value] : expected) {
        const Parameter* p = findParameterByCode(code);
        ASSERT_NE(p, nullptr) << code;
        EXPECT_EQ(p->readValue, value) << code;
        EXPECT_EQ(p->setValue, value) << code;
    }
    EXPECT_EQ(findParameterByKey(first)->code, "F00.13");
}

TEST_F(ValueTextTest, SignedParametersSignExtendRegisterWords)
{
    add("F09.17", "-100.0", "100.0", "", 1, 0);
    add("F00.01", "0.0", "6553.5", "0.0", 1);
    add("F00.02", "F09.17", "100.0", "0.0", 1);
    add("F00.03", "F00.01", "100.0", "0.0", 1);
    add("F00.04", "$0", "$FFFF", "$0", 24);
    const Parameter& signedReading = *findParameterByCode("F09.17");
    const Parameter& plain = *findParameterByCode("F00.01");
    const Parameter& namedSigned = *findParameterByCode("F00.02");
    const Parameter& namedPlain = *findParameterByCode("F00.03");
    const Parameter& hexLimits = *findParameterByCode("F00.04");

    EXPECT_TRUE(isSignedParameter(signedReading));
    EXPECT_TRUE(isSignedParameter(namedSigned));
    EXPECT_FALSE(isSignedParameter(plain));
    EXPECT_FALSE(isSignedParameter(namedPlain));
    EXPECT_FALSE(isSignedParameter(hexLimits));

    EXPECT_EQ(valueFromRegister(signedReading, 0xFC18), -1000);
    EXPECT_EQ(valueFromRegister(signedReading, 0x7FFF), 32767);
    EXPECT_EQ(valueFromRegister(signedReading, 0x8000), -32768);
    EXPECT_EQ(valueFromRegister(plain, 0xFC18), 64536);
    EXPECT_EQ(valueCellText(signedReading, valueFromRegister(signedReading, 0xFC18)), "-100.0");
    EXPECT_EQ(valueCellText(plain, valueFromRegister(plain, 0xFC18)), "6453.6");
}

TEST_F(ValueTextTest, MinimumChainThatLoopsEndsWithoutHanging)
{
    add("P1.0.01", "P1.0.02", "10", "----");
    add("P1.0.02", "P1.0.01", "10", "----");
    const Parameter& a = *findParameterByCode("P1.0.01");
    EXPECT_FALSE(isSignedParameter(a));
    EXPECT_EQ(initialValue(a), 0);
}

TEST_F(ValueTextTest, DefaultIsMissingWhenDashesOrEmpty)
{
    Parameter& p = add("P0.0.09", "0", "10", "----");
    EXPECT_FALSE(hasDefault(p));
    p.defaultText = "";
    EXPECT_FALSE(hasDefault(p));
    p.defaultText = "0";
    EXPECT_TRUE(hasDefault(p));
}

}  // namespace
