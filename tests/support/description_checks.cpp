#include "tests/support/description_checks.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace description_checks {

const Parameter& param(std::string_view code)
{
    const Parameter* p = findParameterByCode(code);
    if (!p)
        throw std::runtime_error("no parameter " + std::string(code));
    return *p;
}

std::string valueText(std::string_view code, std::uint16_t value)
{
    for (const ValueOption& v : valueOptionsOf(param(code).optionKey))
        if (v.value == value)
            return v.text;
    return "<none>";
}

std::u32string codePoints(std::string_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::size_t countWithPrefix(std::string_view prefix)
{
    std::size_t n = 0;
    for (const Parameter& p : parameters)
        n += std::string_view(p.code).substr(0, prefix.size()) == prefix;
    return n;
}

int choiceParameterCount()
{
    int n = 0;
    for (const Parameter& p : parameters)
        n += p.optionCount > 0;
    return n;
}

std::vector<std::string> codesWithFormat(int format)
{
    std::vector<std::string> codes;
    for (const Parameter& p : parameters)
        if (p.displayFormat == format)
            codes.push_back(p.code);
    return codes;
}

void expectLinkDefaults(const LinkDefaults& expected)
{
    ASSERT_EQ(linkDefaults.size(), 1u);
    const LinkDefaults& actual = linkDefaults[0];
    EXPECT_EQ(actual.deviceAddress, expected.deviceAddress);
    EXPECT_EQ(actual.baudRate, expected.baudRate);
    EXPECT_EQ(actual.dataBits, expected.dataBits);
    EXPECT_EQ(actual.stopBits, expected.stopBits);
    EXPECT_EQ(actual.parityCode, expected.parityCode);
    EXPECT_EQ(actual.identRegister, expected.identRegister);
    EXPECT_EQ(actual.registerTable, expected.registerTable);
    EXPECT_EQ(actual.identValue, expected.identValue);
}

void expectKeysRunFrom1000()
{
    for (std::size_t i = 0; i < parameters.size(); ++i)
        ASSERT_EQ(parameters[i].optionKey, static_cast<std::int32_t>(1000 + i)) << parameters[i].code;
    EXPECT_EQ(currentOptionKey, static_cast<std::int32_t>(1000 + parameters.size()) - 1);
}

void expectCodesUnique()
{
    std::set<std::string> codes;
    for (const Parameter& p : parameters)
        EXPECT_TRUE(codes.insert(p.code).second) << "code twice: " << p.code;
}

namespace {

template <class Record>
void expectRowsInRunsOfExistingKeys(const RecordList<Record>& list, const char* listName)
{
    std::set<std::int32_t> finished;
    std::int32_t runKey = 0;
    for (const Record& row : list) {
        ASSERT_NE(findParameterByKey(row.optionKey), nullptr) << listName << " key " << row.optionKey;
        if (row.optionKey != runKey) {
            ASSERT_GT(row.optionKey, runKey) << listName << ": rows out of parameter order";
            ASSERT_TRUE(finished.insert(row.optionKey).second) << listName << " key " << row.optionKey << " split";
            runKey = row.optionKey;
        }
    }
}

}  // namespace

void expectOptionRowsInRunsOfExistingKeys()
{
    expectRowsInRunsOfExistingKeys(valueOptions, "ValueOption");
    expectRowsInRunsOfExistingKeys(bitOptions, "BitOption");
    expectRowsInRunsOfExistingKeys(decDigitOptions, "DecDigitOption");
    expectRowsInRunsOfExistingKeys(hexDigitOptions, "HexDigitOption");
}

std::string optionKindsOf(const Parameter& p)
{
    std::string kinds;
    if (!valueOptionsOf(p.optionKey).empty())
        kinds += 'V';
    if (!bitOptionsOf(p.optionKey).empty())
        kinds += 'B';
    if (!decDigitOptionsOf(p.optionKey).empty())
        kinds += 'D';
    if (!hexDigitOptionsOf(p.optionKey).empty())
        kinds += 'H';
    return kinds;
}

std::string optionKindsCalledFor(const Parameter& p)
{
    std::string kinds;
    if (p.optionCount > 0)
        kinds += 'V';
    switch (p.displayFormat / 10) {
    case 4:
        kinds += 'B';
        break;
    case 3:
        kinds += 'D';
        break;
    case 2:
        kinds += 'H';
        break;
    default:
        break;
    }
    return kinds;
}

void expectOptionKindsFollowTheDisplayFormat(const std::set<std::string>& choicesOfferingFewerRows)
{
    for (const Parameter& p : parameters) {
        EXPECT_EQ(optionKindsOf(p), optionKindsCalledFor(p)) << p.code;
        if (p.optionCount == 0)
            continue;
        EXPECT_EQ(p.displayFormat, 0) << p.code;
        const std::size_t rows = valueOptionsOf(p.optionKey).size();
        if (choicesOfferingFewerRows.count(p.code)) {
            EXPECT_LT(p.optionCount, rows) << p.code;
        } else {
            EXPECT_EQ(p.optionCount, rows) << p.code;
        }
    }
}

void expectLoaderInvariants(const std::set<std::string>& choicesOfferingFewerRows)
{
    expectKeysRunFrom1000();
    expectCodesUnique();
    expectOptionRowsInRunsOfExistingKeys();
    expectOptionKindsFollowTheDisplayFormat(choicesOfferingFewerRows);
}

std::string dumpDescription()
{
    std::ostringstream out;
    out << currentModelName << '\n';
    for (const LinkDefaults& d : linkDefaults)
        out << "L " << d.deviceAddress << ' ' << d.baudRate << ' ' << d.dataBits << ' ' << d.stopBits << ' '
            << d.parityCode << ' ' << d.identRegister << ' ' << d.registerTable << ' ' << d.identValue << '\n';
    for (const DeviceErrorCode& e : deviceErrorCodes)
        out << "E " << e.errorKind << ' ' << e.errorRegister << ' ' << e.compareMode << ' ' << e.errorCode << ' '
            << e.text << '\n';
    for (const ParamGroup& g : paramGroups)
        out << "G " << g.code << '|' << g.name << '|' << g.treeItem << '\n';
    for (const ParamSubgroup& s : paramSubgroups)
        out << "S " << s.groupCode << '|' << s.code << '|' << s.name << '|' << s.treeItem << '\n';
    for (const Parameter& p : parameters)
        out << "P " << p.optionKey << '|' << p.subgroupCode << '|' << p.code << '|' << p.name << '|' << p.optionCount
            << '|' << p.readValue << '|' << p.setValue << '|' << p.defaultText << '|' << p.minText << '|'
            << p.maxText << '|' << p.displayFormat << '|' << p.address << '|' << p.eepromAddress << '|'
            << p.registerTable << '|' << p.access << '\n';
    for (const ValueOption& v : valueOptions)
        out << "V " << v.optionKey << '|' << v.value << '|' << v.text << '\n';
    for (const BitOption& b : bitOptions)
        out << "B " << b.optionKey << '|' << b.bitNumber << '|' << b.text << '\n';
    for (const DigitOption& d : decDigitOptions)
        out << "D " << d.optionKey << '|' << d.digitMask << '|' << d.fieldValue << '|' << d.valueText << '|'
            << d.fieldName << '\n';
    for (const DigitOption& d : hexDigitOptions)
        out << "H " << d.optionKey << '|' << d.digitMask << '|' << d.fieldValue << '|' << d.valueText << '|'
            << d.fieldName << '\n';
    out << "K " << currentOptionKey << '\n';
    return out.str();
}

::testing::AssertionResult sameDump(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    std::istringstream actualLines(actual), expectedLines(expected);
    std::string a, e;
    for (int line = 1;; ++line) {
        const bool moreActual = static_cast<bool>(std::getline(actualLines, a));
        const bool moreExpected = static_cast<bool>(std::getline(expectedLines, e));
        if (!moreActual || !moreExpected || a != e)
            return ::testing::AssertionFailure() << "the dumps part at line " << line << ":\n  actual:   "
                                                 << (moreActual ? a : "(end)") << "\n  expected: "
                                                 << (moreExpected ? e : "(end)");
    }
}

std::string paramFields(const Parameter& p)
{
    std::ostringstream out;
    out << p.subgroupCode << '|' << p.code << '|' << p.name << '|' << p.optionCount << '|' << p.defaultText << '|'
        << p.minText << '|' << p.maxText << '|' << p.displayFormat << '|' << p.address << '|' << p.eepromAddress
        << '|' << p.registerTable << '|' << p.access;
    return out.str();
}

std::string optionRowsOf(std::int32_t key)
{
    std::ostringstream out;
    for (const ValueOption& v : valueOptionsOf(key))
        out << "V" << v.value << '|' << v.text << '\n';
    for (const BitOption& b : bitOptionsOf(key))
        out << "B" << b.bitNumber << '|' << b.text << '\n';
    for (const DigitOption& d : decDigitOptionsOf(key))
        out << "D" << d.digitMask << '|' << d.fieldValue << '|' << d.valueText << '|' << d.fieldName << '\n';
    for (const DigitOption& d : hexDigitOptionsOf(key))
        out << "H" << d.digitMask << '|' << d.fieldValue << '|' << d.valueText << '|' << d.fieldName << '\n';
    return out.str();
}

std::map<std::string, StoredParameter> parametersByCode()
{
    std::map<std::string, StoredParameter> byCode;
    for (const Parameter& p : parameters)
        byCode[p.code] = {p, optionRowsOf(p.optionKey)};
    return byCode;
}

void expectSecondLoadAfterClearingIsIdentical(int (*load)())
{
    const std::string first = dumpDescription();
    clearDeviceDescription();
    load();
    EXPECT_TRUE(sameDump(dumpDescription(), first));
}

}  // namespace description_checks
