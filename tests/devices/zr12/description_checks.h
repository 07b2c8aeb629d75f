#pragma once
// Checks every loaded description must pass, and small views of the loaded lists, shared by the
// tests of the P-scheme descriptions.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/description_store.h"

namespace description_checks {

// Keys 1000.. without a gap in list order; currentOptionKey ends on the last key.
inline void expectKeysRunFrom1000(std::size_t expectedCount)
{
    ASSERT_EQ(parameters.size(), expectedCount);
    for (std::size_t i = 0; i < parameters.size(); ++i)
        ASSERT_EQ(parameters[i].optionKey, static_cast<std::int32_t>(1000 + i)) << parameters[i].code;
    EXPECT_EQ(currentOptionKey, static_cast<std::int32_t>(1000 + expectedCount - 1));
}

// Each option row belongs to an existing parameter, the rows of one key form one run, and the
// runs follow the parameters' order (rows are appended right after their parameter).
template <class Record>
void expectRowsInRunsOfExistingKeys(const RecordList<Record>& list, const char* listName)
{
    std::set<std::int32_t> finished;
    std::int32_t runKey = 0;
    for (const Record& row : list) {
        ASSERT_NE(findParameterByKey(row.optionKey), nullptr) << listName << " key " << row.optionKey;
        if (row.optionKey != runKey) {
            ASSERT_GT(row.optionKey, runKey) << listName << ": rows out of parameter order";
            ASSERT_TRUE(finished.insert(row.optionKey).second) << listName << " key " << row.optionKey;
            runKey = row.optionKey;
        }
    }
}

inline void expectOptionRowInvariants()
{
    expectRowsInRunsOfExistingKeys(valueOptions, "ValueOption");
    expectRowsInRunsOfExistingKeys(bitOptions, "BitOption");
    expectRowsInRunsOfExistingKeys(decDigitOptions, "DecDigitOption");
    expectRowsInRunsOfExistingKeys(hexDigitOptions, "HexDigitOption");
    for (const Parameter& p : parameters) {
        if (p.displayFormat >= 10) {
            EXPECT_EQ(p.optionCount, 0) << p.code;
        }
        if (p.optionCount > 0) {
            EXPECT_EQ(valueOptionsOf(p.optionKey).size(), p.optionCount) << p.code;
            EXPECT_EQ(p.displayFormat, 0) << p.code;
        }
        const int kinds = !valueOptionsOf(p.optionKey).empty() + !bitOptionsOf(p.optionKey).empty()
            + !decDigitOptionsOf(p.optionKey).empty() + !hexDigitOptionsOf(p.optionKey).empty();
        EXPECT_LE(kinds, 1) << p.code;
    }
}

// Every record of the description as text, for comparing two loads.
inline std::string dumpDescription()
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
    return out.str();
}

// A parameter's fields apart from its key, as text.
inline std::string paramFields(const Parameter& p)
{
    std::ostringstream out;
    out << p.subgroupCode << '|' << p.code << '|' << p.name << '|' << p.optionCount << '|' << p.defaultText << '|'
        << p.minText << '|' << p.maxText << '|' << p.displayFormat << '|' << p.address << '|' << p.eepromAddress
        << '|' << p.registerTable << '|' << p.access;
    return out.str();
}

// The option rows of a key, without the key, as text.
inline std::string optionRowsOf(std::int32_t key)
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

// Parameters whose code starts with prefix ("P2", "P2.1", "").
inline std::size_t countWithPrefix(std::string_view prefix)
{
    std::size_t n = 0;
    for (const Parameter& p : parameters)
        n += std::string_view(p.code).substr(0, prefix.size()) == prefix;
    return n;
}

template <class Field>
std::map<int, int> histogram(Field Parameter::*field)
{
    std::map<int, int> counts;
    for (const Parameter& p : parameters)
        ++counts[static_cast<int>(p.*field)];
    return counts;
}

inline int choiceParameterCount()
{
    int n = 0;
    for (const Parameter& p : parameters)
        n += p.optionCount > 0;
    return n;
}

inline std::vector<std::string> codesWithFormat(int format)
{
    std::vector<std::string> codes;
    for (const Parameter& p : parameters)
        if (p.displayFormat == format)
            codes.push_back(p.code);
    return codes;
}

// The code points of a UTF-8 text.
inline std::u32string codePoints(std::string_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(cp);
        i += 1 + extra;
    }
    return out;
}

inline const Parameter& param(std::string_view code)
{
    const Parameter* p = findParameterByCode(code);
    if (!p)
        throw std::runtime_error("no parameter " + std::string(code));
    return *p;
}

inline std::string valueText(std::string_view code, std::uint16_t value)
{
    for (const ValueOption& v : valueOptionsOf(param(code).optionKey))
        if (v.value == value)
            return v.text;
    return "<none>";
}

}  // namespace description_checks
