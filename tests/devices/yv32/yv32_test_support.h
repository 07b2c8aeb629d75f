#pragma once
// Loading one of the two models into the emptied store, and the option rows of a code.

#include <ostream>
#include <string>
#include <vector>

#include "description/description_store.h"
#include "devices/yv32/loaders.h"
#include "tests/support/description_checks.h"

enum class Model { yv32, yv33 };

inline const char* modelTitle(Model model) { return model == Model::yv32 ? "ПЧ Tovik Yv32" : "ПЧ Tovik Yv33"; }

inline void PrintTo(Model model, std::ostream* out) { *out << (model == Model::yv32 ? "Yv32" : "Yv33"); }

inline auto loaderOf(Model model) { return model == Model::yv32 ? &loadDescriptionYv32 : &loadDescriptionYv33; }

inline void loadModel(Model model)
{
    clearDeviceDescription();
    loaderOf(model)();
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
