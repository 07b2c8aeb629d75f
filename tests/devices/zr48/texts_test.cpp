#include "tests/devices/zr48/zr48_test_support.h"

#include <ostream>
#include <string>

namespace {

using namespace description_checks;
using namespace zr48test;

bool endsWith(const std::u32string& text, const std::u32string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool contains(const std::u32string& text, const std::u32string& part) { return text.find(part) != std::u32string::npos; }

std::u32string name(const char* code) { return codePoints(param(code).name); }

std::u32string choice(const char* code, std::size_t row)
{
    const auto rows = valueOptionsOf(param(code).optionKey);
    if (row >= rows.size()) {
        ADD_FAILURE() << code << " has no row " << row;
        return {};
    }
    return codePoints(rows[row].text);
}

std::u32string choiceOfValue(const char* code, int value)
{
    for (const ValueOption& row : valueOptionsOf(param(code).optionKey))
        if (row.value == value)
            return codePoints(row.text);
    ADD_FAILURE() << code << " has no value " << value;
    return {};
}

constexpr char32_t latinC = U'\u0063';
constexpr char32_t cyrillicEs = U'\u0441';

struct Model {
    const char* name;
    void (*load)();
};

void PrintTo(const Model& model, std::ostream* out) { *out << model.name; }

class Zr48Texts : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override { GetParam().load(); }
};

INSTANTIATE_TEST_SUITE_P(BothModels, Zr48Texts, ::testing::Values(Model{"Zr48", &loadZr48}, Model{"Zr48X", &loadZr48X}),
                         [](const ::testing::TestParamInfo<Model>& info) { return std::string(info.param.name); });

// Seconds are written with a Latin c in some names and the Cyrillic letter in others.
TEST_P(Zr48Texts, UnitOfSecondsByCodePoint)
{
    for (const char* code : {"F03.15", "F03.16", "F03.17", "F05.20", "F05.21", "F05.23", "F05.24", "F11.02", "F11.04",
                             "F11.17", "F11.32", "F11.34", "F14.11", "F14.13", "F15.03", "H00.06", "H00.07", "H00.08",
                             "H00.09", "H00.10"})
        EXPECT_TRUE(endsWith(name(code), {U',', U' ', latinC})) << code;
    EXPECT_TRUE(endsWith(name("F15.04"), {U' ', U'\u043C', latinC}));
    for (const char* code : {"F03.11", "F04.11", "F11.08", "F22.12", "F22.13", "F22.14", "F22.15", "F22.16", "H00.18",
                             "H00.19", "H00.22", "H00.28"})
        EXPECT_TRUE(endsWith(name(code), {U',', U' ', cyrillicEs})) << code;
}

TEST_P(Zr48Texts, SignsByCodePoint)
{
    // Degrees Celsius with a Latin C.
    for (const char* code : {"F11.21", "F11.38", "F11.39", "U00.23", "U00.32"})
        EXPECT_TRUE(endsWith(name(code), {U'\u00B0', U'C'})) << code;
    // Division sign, without blanks in "DI1÷DI7", between blanks elsewhere.
    EXPECT_TRUE(contains(name("F04.10"), U"1\u00F7D"));
    for (const char* code : {"F04.13", "F04.14", "U00.12", "U00.13", "U00.36", "U00.37"})
        EXPECT_TRUE(contains(name(code), U" \u00F7 ")) << code;
    for (std::size_t row : {12u, 13u, 36u, 37u})
        EXPECT_TRUE(contains(choice("F16.03", row), U"\u00F7") && !contains(choice("F16.03", row), U" \u00F7"))
            << row;
    EXPECT_TRUE(contains(choice("F01.00", 6), U" \u00D7 "));
    EXPECT_TRUE(contains(choice("F01.00", 7), U" \u00D7 "));
    EXPECT_TRUE(contains(choice("F00.17", 2), U" \u2264 "));
    // En dashes.
    EXPECT_TRUE(contains(choice("F00.01", 1), U"\u2013"));
    EXPECT_FALSE(contains(choice("F00.01", 1), U" \u2013"));
    EXPECT_TRUE(contains(choice("F00.11", 0), U" \u2013 "));
    EXPECT_TRUE(contains(choice("F01.00", 3), U" \u2013 "));
    EXPECT_TRUE(contains(choice("F13.02", 4), U" \u2013 "));
    // Bullet in the unit of energy.
    EXPECT_TRUE(contains(name("U00.35"), U"\u0412\u0442\u2022\u0447"));
    // Angle quotes, and the numero sign with and without a blank after it.
    for (const char* code : {"F15.05", "F15.06", "H00.26", "H00.27", "H00.28"}) {
        EXPECT_TRUE(contains(name(code), U"\u00AB")) << code;
        EXPECT_TRUE(contains(name(code), U"\u00BB")) << code;
    }
    EXPECT_TRUE(contains(codePoints(decDigitOptionsOf(param("F12.17").optionKey)[4].valueText), U"\u00AB"));
    const auto pumps = decDigitOptionsOf(param("H00.11").optionKey);
    for (std::size_t i = 0; i < pumps.size(); ++i)
        EXPECT_TRUE(endsWith(codePoints(pumps[i].fieldName), {U'\u2116', U' ', U'1' + char32_t(i / 2)})) << i;
    EXPECT_TRUE(contains(choiceOfValue("F04.00", 51), U"\u21161 "));
    EXPECT_TRUE(contains(choiceOfValue("F05.00", 30), U"\u21161 "));
    // The letter yo.
    EXPECT_TRUE(contains(choice("F04.00", 1), U"\u0451"));
    EXPECT_TRUE(contains(name("H00.16"), U"\u0451"));
    // Baud rates with an ordinary blank.
    EXPECT_EQ(choice("F15.00", 1), U"9 600");
}

// Rows 18 and 19 follow the colon with a full-width colon and no blank; every other row with a blank.
TEST_P(Zr48Texts, FaultTextsByCodePoint)
{
    const auto rows = valueOptionsOf(param("U01.00").optionKey);
    ASSERT_GE(rows.size(), 33u);
    for (const ValueOption& row : rows) {
        const std::u32string text = codePoints(row.text);
        ASSERT_GE(text.size(), 7u);
        EXPECT_EQ(text.substr(0, 3), U"Err");
        EXPECT_EQ(std::stoi(row.text.substr(3, 2)), row.value);
        EXPECT_EQ(text[5], U':');
        EXPECT_EQ(text[6], row.value == 18 || row.value == 19 ? U'\uFF1A' : U' ') << row.value;
    }
}

// No text of these models begins or ends with a blank or holds two blanks in a row.
TEST_P(Zr48Texts, NoStrayBlanks)
{
    auto check = [](const std::string& text, const std::string& where) {
        EXPECT_FALSE(text.empty() ? false : text.front() == ' ' || text.back() == ' ') << where << ": " << text;
        EXPECT_EQ(text.find("  "), std::string::npos) << where << ": " << text;
    };
    for (const ParamGroup& g : paramGroups)
        check(g.name, g.code);
    for (const ParamSubgroup& g : paramSubgroups)
        check(g.name, g.code);
    for (const Parameter& p : parameters) {
        check(p.name, p.code);
        EXPECT_FALSE(p.name.empty()) << p.code;
    }
    for (const ValueOption& row : valueOptions)
        check(row.text, std::to_string(row.optionKey));
    for (const DecDigitOption& row : decDigitOptions) {
        check(row.valueText, std::to_string(row.optionKey));
        check(row.fieldName, std::to_string(row.optionKey));
    }
}

TEST(Zr48XTexts, AddedRowsByCodePoint)
{
    loadZr48X();
    EXPECT_TRUE(endsWith(name("F05.26"), {U',', U' ', U'\u0410'}));
    EXPECT_TRUE(endsWith(name("F04.19"), {U',', U' ', cyrillicEs}));
    EXPECT_TRUE(endsWith(name("H00.47"), {U',', U' ', cyrillicEs}));
    for (std::size_t row = 1; row <= 5; ++row) {
        EXPECT_TRUE(contains(choice("F13.30", row), U" \u2022 ")) << row;
        EXPECT_TRUE(contains(choice("F13.31", row), U" \u2022 ")) << row;
    }
    for (std::size_t row = 1; row <= 4; ++row)
        EXPECT_TRUE(contains(choice("H00.42", row), U" \u2013 ")) << row;
    EXPECT_TRUE(contains(name("H00.39"), U" \u00F7 "));
}

// Misspellings of the device texts are kept as the device shows them.
TEST(Zr48Texts, TyposStandAsWritten)
{
    loadZr48();
    EXPECT_EQ(paramGroups[1].name, "Базовые параметрым");
    EXPECT_EQ(paramGroups[11].name, "Насосоные функции");
    EXPECT_EQ(param("F11.19").name, "Порог срабатываниясигнала перегрузки, %");
    EXPECT_EQ(param("F11.31").name, "Восстанавливающее напряжение при мновенном прекращении питания, %");
    EXPECT_EQ(std::string(valueOptionsOf(param("F00.11").optionKey)[0].text), "Вывод 2 – цифровоймвыход");
    EXPECT_EQ(decDigitOptionsOf(param("F00.12").optionKey)[1].valueText, "Сллучайная несущая");
}

}  // namespace
