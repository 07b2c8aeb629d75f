#pragma once
// The integer a text starts with: "$" hexadecimal, "%" base 2, otherwise decimal with an optional
// sign; reading stops at the first character that does not fit (a point included), and a text
// without digits gives 0. A number past the 32-bit range gives the range's nearer end.

#include <cstdint>
#include <string_view>

#include "description/value_text.h"

inline std::int32_t integerOfText(std::string_view text)
{
    // Without a point parseValueText reads exactly this way; the point would scale the number.
    return parseValueText(text.substr(0, text.find('.')));
}
