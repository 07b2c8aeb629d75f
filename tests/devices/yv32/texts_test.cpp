#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/devices/yv32/yv32_test_support.h"

using namespace description_checks;

namespace {

enum class Text { name, value, bit, hexValue, hexField };

// Where in a text to look: a position (negative counts from the end), or anywhere / nowhere.
constexpr int anywhere = INT_MIN;
constexpr int nowhere = INT_MIN + 1;

struct CodePointCase {
    const char* code;
    Text text;
    int item;  // the option's value, bit number, or index in the parameter's digit rows
    int position;
    char32_t expected;
};

const CodePointCase codePointCases[] = {
    // blanks that belong to the text
    {"P01.05", Text::name, 0, -1, U' '},
    {"P06.18", Text::name, 0, -1, U' '},
    {"P31.01", Text::name, 0, -1, U' '},
    {"P23.25", Text::bit, 0, -1, U' '},
    {"P23.30", Text::value, 4, 0, U' '},
    {"P06.01", Text::value, 24, 0, U' '},
    {"P06.16", Text::value, 52, 0, U' '},
    {"P06.10", Text::value, 32, -1, U' '},
    {"P01.19", Text::hexField, 9, -1, U' '},
    {"r25.04", Text::bit, 14, -1, U' '},
    {"r27.11", Text::bit, 4, -1, U' '},
    {"r27.11", Text::bit, 6, -1, U' '},
    {"r25.12", Text::bit, 4, -1, U';'},
    // texts that begin with ": "
    {"P05.02", Text::value, 12, 0, U':'},
    {"P05.10", Text::value, 12, 1, U' '},
    {"P06.29", Text::value, 3, 0, U':'},
    {"P06.29", Text::value, 3, 1, U' '},
    // upper bits of two-bit fields begin with three blanks
    {"r25.04", Text::bit, 5, 2, U' '},
    {"r25.04", Text::bit, 5, 3, U'1'},
    {"r26.20", Text::bit, 11, 2, U' '},
    {"r25.12", Text::bit, 7, 2, U' '},
    {"r27.10", Text::bit, 5, 2, U' '},
    {"r27.10", Text::bit, 11, 2, U' '},
    {"r27.11", Text::bit, 1, 2, U' '},
    {"r27.11", Text::bit, 3, 3, U'0'},
    // Latin letters among Cyrillic ones, and the other way round
    {"P00.11", Text::value, 0, 0, U'\u0043'},
    {"P01.11", Text::name, 0, -1, U'\u0063'},
    {"P01.05", Text::value, 4, 0, U'\u0041'},
    {"P01.05", Text::value, 4, 2, U'\u0445'},
    {"P01.05", Text::value, 4, 4, U'\u0042'},
    {"P01.04", Text::value, 3, anywhere, U'\u0410'},
    {"P01.04", Text::value, 3, anywhere, U'\u0412'},
    {"P01.04", Text::value, 0, -1, U'\u0041'},
    {"P03.03", Text::name, 0, -1, U'\u0063'},
    {"P03.01", Text::name, 0, -1, U'\u0441'},
    {"P03.11", Text::name, 0, 0, U'\u0053'},
    {"P04.07", Text::hexValue, 0, -1, U'\u0410'},
    {"P04.11", Text::hexValue, 1, -1, U'\u0042'},
    {"P04.15", Text::hexValue, 2, -1, U'\u0421'},
    {"P04.19", Text::hexValue, 3, -1, U'\u0044'},
    {"P04.08", Text::name, 0, -1, U'\u0063'},
    {"P04.04", Text::name, 0, -1, U'\u0441'},
    {"P04.23", Text::name, 0, 7, U'\u0041'},
    {"P04.23", Text::name, 0, -1, U'\u0412'},
    {"P06.30", Text::name, 0, -1, U'\u0063'},
    {"P06.32", Text::name, 0, -1, U'\u0441'},
    {"P12.12", Text::name, 0, -1, U'\u0063'},
    {"P62.12", Text::name, 0, -1, U'\u0063'},
    {"P16.07", Text::name, 0, -1, U'\u0063'},
    {"P13.15", Text::name, 0, -1, U'\u0041'},
    {"P63.15", Text::name, 0, -1, U'\u0041'},
    {"P21.02", Text::name, 0, -3, U'\u004D'},
    {"P21.02", Text::name, 0, -2, U'\u041D'},
    {"P21.17", Text::name, 0, -3, U'\u0063'},
    {"P21.13", Text::hexValue, 7, anywhere, U'\u0420'},
    {"P21.13", Text::hexValue, 7, nowhere, U'\u0050'},
    {"P07.01", Text::value, 12, anywhere, U'\u0420'},
    {"P07.10", Text::value, 13, nowhere, U'\u0050'},
    {"P07.05", Text::value, 15, anywhere, U'\u0050'},
    {"P07.05", Text::value, 16, nowhere, U'\u0420'},
    {"P23.13", Text::name, 0, -1, U'\u0063'},
    {"P23.14", Text::name, 0, -1, U'\u0063'},
    {"r25.13", Text::bit, 0, -3, U'\u0044'},
    {"r25.13", Text::bit, 0, -2, U'\u041E'},
    {"r25.13", Text::bit, 9, -4, U'\u0056'},
    {"r25.13", Text::bit, 9, -2, U'\u041E'},
    {"r31.08", Text::value, 0, 0, U'\u0043'},
    {"P31.01", Text::value, 4, 2, U'\u004D'},
    {"P30.03", Text::value, 2, 4, U'\u0030'},
    {"P30.03", Text::value, 5, 4, U'\u0030'},
    {"P40.28", Text::name, 0, -1, U'\u0063'},
    {"P40.18", Text::name, 0, -1, U'\u0441'},
    {"r42.01", Text::name, 0, -1, U'\u0063'},
    {"\u0420" "43.04", Text::name, 0, -1, U'\u0063'},
    // the degree sign with a Latin C in two readings, with a Cyrillic С in the motor temperatures
    {"r25.14", Text::name, 0, -2, U'\u00B0'},
    {"r25.14", Text::name, 0, -1, U'\u0043'},
    {"r27.18", Text::name, 0, -1, U'\u0043'},
    {"P24.09", Text::name, 0, -1, U'\u0421'},
    {"P24.10", Text::name, 0, -1, U'\u0421'},
    {"r24.11", Text::name, 0, -2, U'\u00B0'},
    {"r24.11", Text::name, 0, -1, U'\u0421'},
    // signs and dashes
    {"P06.01", Text::value, 40, anywhere, U'\u2014'},
    {"P06.01", Text::value, 8, anywhere, U'\u00AB'},
    {"P06.01", Text::value, 8, -1, U'\u00BB'},
    {"P00.06", Text::name, 0, -1, U'\u00BB'},
    {"P05.06", Text::value, 0, anywhere, U'\u00F7'},
    {"P05.06", Text::value, 8, anywhere, U'\u2014'},
    {"P05.02", Text::value, 4, -1, U'\u044F'},  // no closing parenthesis
    {"P22.06", Text::value, 0, anywhere, U'\u2014'},
    {"P40.10", Text::value, 3, 5, U'\u00D7'},
    {"P40.13", Text::value, 3, 5, U'\u00D7'},
    {"r25.04", Text::bit, 0, anywhere, U'\u2014'},
    {"r27.10", Text::bit, 0, nowhere, U'\u2014'},
    {"P44.04", Text::value, 2, 7, U'\u2265'},
    {"P44.08", Text::value, 3, 7, U'\u2264'},
    {"P44.12", Text::value, 5, 7, U'\u2260'},
    {"P44.16", Text::value, 6, 7, U'\u2248'},
};

std::string textOf(const CodePointCase& c, bool& found)
{
    found = true;
    const Parameter& p = param(c.code);
    switch (c.text) {
    case Text::name:
        return p.name;
    case Text::value:
        for (const ValueOption& row : valuesOf(c.code))
            if (row.value == c.item)
                return row.text;
        break;
    case Text::bit:
        for (const BitOption& row : bitsOf(c.code))
            if (row.bitNumber == c.item)
                return row.text;
        break;
    case Text::hexValue:
    case Text::hexField: {
        const auto rows = hexDigitsOf(c.code);
        if (static_cast<std::size_t>(c.item) < rows.size())
            return c.text == Text::hexValue ? rows[c.item].valueText : rows[c.item].fieldName;
        break;
    }
    }
    found = false;
    return {};
}

TEST(Yv32Texts, SpecialCharactersByCodePoint)
{
    for (Model model : {Model::yv32, Model::yv33}) {
        loadModel(model);
        for (const CodePointCase& c : codePointCases) {
            bool found = false;
            const std::u32string text = codePoints(textOf(c, found));
            const std::string where = std::string(modelTitle(model)) + " " + c.code + " item " + std::to_string(c.item);
            ASSERT_TRUE(found) << where;
            if (c.position == anywhere) {
                EXPECT_NE(text.find(c.expected), std::u32string::npos) << where;
            } else if (c.position == nowhere) {
                EXPECT_EQ(text.find(c.expected), std::u32string::npos) << where;
            } else {
                const long at = c.position >= 0 ? c.position : static_cast<long>(text.size()) + c.position;
                ASSERT_TRUE(at >= 0 && at < static_cast<long>(text.size())) << where;
                EXPECT_EQ(text[static_cast<std::size_t>(at)], c.expected) << where << " at " << at;
            }
        }
    }
}

TEST(Yv32Texts, EmptyTextsAndRuleBuiltTexts)
{
    loadModel(Model::yv32);
    // The field of the lowest digit of P01.40 has no name; the other three have one.
    const auto upDown = hexDigitsOf("P01.40");
    ASSERT_EQ(upDown.size(), 9u);
    for (const HexDigitOption& row : upDown)
        EXPECT_EQ(row.fieldName.empty(), row.digitMask == 1) << row.digitMask;

    for (const char* code : {"P44.38", "P44.39", "P44.40", "P44.41"}) {
        const auto rows = bitsOf(code);
        ASSERT_EQ(rows.size(), 16u) << code;
        for (const BitOption& row : rows)
            EXPECT_TRUE(row.text.empty()) << code;
    }

    EXPECT_EQ(valuesOf("P44.04")[0].text, "P44.02 > P44.03");
    EXPECT_EQ(valuesOf("P44.16")[6].text, "P44.14 \u2248 P44.15");
    const auto bitSelect = hexDigitsOf("P44.32");
    ASSERT_EQ(bitSelect.size(), 32u);
    EXPECT_TRUE(bitSelect[0].valueText.ends_with(" 0 \u043F\u0430\u0440\u0430\u043C\u0435\u0442\u0440\u0430 P44.30"));
    EXPECT_TRUE(bitSelect[31].valueText.ends_with(" 15 \u043F\u0430\u0440\u0430\u043C\u0435\u0442\u0440\u0430 P44.31"));
    EXPECT_EQ(bitSelect[15].digitMask, 1);
    EXPECT_EQ(bitSelect[16].digitMask, 10);

    EXPECT_NE(param("P04.19").name.find("AI 4"), std::string::npos);
    EXPECT_NE(param("P23.29").name.find(" , "), std::string::npos);
    EXPECT_NE(bitsOf("r27.11")[5].text.find("10\u2014 VC"), std::string::npos);
    EXPECT_NE(bitsOf("r25.12")[5].text.find("10 \u2014 VC"), std::string::npos);
    EXPECT_NE(bitsOf("r25.04")[1].text.find(";  1"), std::string::npos);
    EXPECT_EQ(param("P04.40").name, param("P04.38").name);
    EXPECT_EQ(valuesOf("P60.01").size(), valuesOf("P01.07").size());
}

struct ValueTextCase {
    const char* code;
    const char* defaultText;
    const char* minText;
    const char* maxText;
};

// Value texts stored as written, including the ones whose form departs from the row's format.
const ValueTextCase valueTextCases[] = {
    {"P00.01", "----", "0", "1"},
    {"P03.01", "0", "0.00", "600.00"},
    {"P20.19", "00.00", "00.00", "63.99"},
    {"P21.10", "6.00", "0.00", "99.99"},
    {"P06.17", "$0003", "$0000", "$FFFF"},
    {"P22.01", "00", "00", "11"},
    {"P40.17", "5.0", "00.0", "100.0"},
    {"r16.02", "----", "0", "4294967295"},
    {"P45.06", "4294967295", "1", "4294967295"},
    {"P44.37", "0", "-9999", "9999"},
    {"r43.00", "----", "$0000", "$000F"},
    {"P30.13", "1.000", "-10.000", "10.000"},
    {"P23.21", "$0000", "$0000", "$3332"},
    {"P01.08", "50.00", "P01.09", "P01.06"},
    {"P08.03", "5.0", "0.0", "P08.02"},
    {"r11.00", "0", "0", "1"},
};

TEST(Yv32Texts, ValueTextsAsStored)
{
    loadModel(Model::yv33);
    for (const ValueTextCase& c : valueTextCases) {
        const Parameter& p = param(c.code);
        EXPECT_EQ(p.defaultText, c.defaultText) << c.code;
        EXPECT_EQ(p.minText, c.minText) << c.code;
        EXPECT_EQ(p.maxText, c.maxText) << c.code;
    }
}

}  // namespace
