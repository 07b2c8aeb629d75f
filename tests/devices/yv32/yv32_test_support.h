#pragma once
// Loading one of the two models into the emptied store, and reading texts by code point.

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "app/description_store.h"
#include "devices/yv32/loaders.h"

enum class Model { yv32, yv33 };

inline const char* modelTitle(Model model) { return model == Model::yv32 ? "ПЧ Tovik Yv32" : "ПЧ Tovik Yv33"; }

inline void PrintTo(Model model, std::ostream* out) { *out << (model == Model::yv32 ? "Yv32" : "Yv33"); }

inline void loadModel(Model model)
{
    clearDeviceDescription();
    if (model == Model::yv32)
        loadDescriptionYv32();
    else
        loadDescriptionYv33();
}

// The Unicode code points of a UTF-8 text (the texts are all well-formed).
inline std::u32string codePoints(const std::string& text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(cp);
        i += length;
    }
    return out;
}

inline const Parameter& parameterWithCode(const std::string& code)
{
    static const Parameter none{};
    const Parameter* p = findParameterByCode(code);
    return p ? *p : none;
}

// The parameter rows of a code; empty when the code names no parameter.
inline std::vector<ValueOption> valuesOf(const std::string& code)
{
    const Parameter* p = findParameterByCode(code);
    if (!p)
        return {};
    const auto rows = valueOptionsOf(p->optionKey);
    return {rows.begin(), rows.end()};
}

inline std::vector<BitOption> bitsOf(const std::string& code)
{
    const Parameter* p = findParameterByCode(code);
    if (!p)
        return {};
    const auto rows = bitOptionsOf(p->optionKey);
    return {rows.begin(), rows.end()};
}

inline std::vector<HexDigitOption> hexDigitsOf(const std::string& code)
{
    const Parameter* p = findParameterByCode(code);
    if (!p)
        return {};
    const auto rows = hexDigitOptionsOf(p->optionKey);
    return {rows.begin(), rows.end()};
}

// Every field a loader stores, for comparing descriptions.
inline auto storedFields(const Parameter& p)
{
    return std::tie(p.subgroupCode, p.code, p.name, p.optionCount, p.optionKey, p.defaultText, p.minText,
                    p.maxText, p.displayFormat, p.address, p.eepromAddress, p.registerTable, p.access);
}
