#include "app/typed_entry.h"

#include <charconv>
#include <limits>
#include <system_error>

#include "description/description.h"
#include "description/value_text.h"

std::uint16_t decimalsOf(const Parameter& parameter)
{
    const std::uint16_t f = parameter.displayFormat;
    if (f <= 9)
        return f;
    if (f >= 50)
        return 9;
    return 0;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number a text starts with, read the same on every desktop (the C library's readers
// follow the locale, and a Russian one stops at the point). Blanks and one sign may come first;
// no number reads as 0, and one past the range of a double as the largest double of its sign.
double leadingDecimal(std::string_view text)
{
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string_view::npos)
        return 0;
    bool negative = false;
    if (text[at] == '-' || text[at] == '+') {
        negative = text[at] == '-';
        ++at;
    }
    const std::string_view number = text.substr(at);
    if (number.empty() || !(isDigit(number.front()) || number.front() == '.'))
        return 0;
    double magnitude = 0;
    const std::errc error =
        std::from_chars(number.data(), number.data() + number.size(), magnitude, std::chars_format::fixed).ec;
    if (error == std::errc::result_out_of_range) {
        // Too large or too small: only a non-zero digit before the point makes it too large.
        const std::string_view whole = number.substr(0, number.find('.'));
        magnitude = whole.find_first_of("123456789") != std::string_view::npos ? std::numeric_limits<double>::max() : 0;
    } else if (error != std::errc()) {
        magnitude = 0;
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace

std::string normaliseEntry(std::string_view typed, std::uint16_t decimals)
{
    const double value = leadingDecimal(typed);
    // The largest double has 309 digits before the point.
    std::string result(320 + std::size_t{decimals}, '\0');
    const auto written = std::to_chars(result.data(), result.data() + result.size(), value, std::chars_format::fixed,
                                       static_cast<int>(decimals));
    result.resize(static_cast<std::size_t>(written.ptr - result.data()));
    // "-0.00" is written as "0.00"
    if (!result.empty() && result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos)
        result.erase(result.begin());
    return result;
}

std::int64_t rescale(std::int64_t value, std::uint16_t fromDecimals, std::uint16_t toDecimals)
{
    for (std::uint16_t d = fromDecimals; d < toDecimals; ++d)
        value *= 10;
    for (std::uint16_t d = toDecimals; d < fromDecimals; ++d)
        value /= 10;
    return value;
}

EntryLimit resolveEntryLimit(std::string_view limitText, const Parameter& edited)
{
    EntryLimit limit;
    if (limitText == noValueText || limitText.empty())
        return limit;
    limit.present = true;
    const std::uint16_t decimals = decimalsOf(edited);
    if (const Parameter* target = limitTarget(limitText)) {
        const std::int32_t current = target->access != 0 ? target->setValue : target->readValue;
        limit.value = rescale(current, decimalsOf(*target), decimals);
        limit.text = formatFixedPoint(static_cast<std::int32_t>(limit.value), decimals);
        return limit;
    }
    limit.value = parseValueText64(limitText);
    limit.text = std::string(limitText);
    return limit;
}

std::string clampedEntry(const std::string& entry, const Parameter& edited)
{
    const std::uint16_t decimals = decimalsOf(edited);
    const std::int64_t value = parseValueText64(entry);
    const EntryLimit maximum = resolveEntryLimit(edited.maxText, edited);
    const EntryLimit minimum = resolveEntryLimit(edited.minText, edited);
    if (maximum.present && value > maximum.value)
        return maximum.text;
    if (minimum.present && value < minimum.value)
        return minimum.text;
    const bool isSigned = isSignedParameter(edited);
    const std::int64_t registerMax = isSigned ? 32767 : 65535;
    const std::int64_t registerMin = isSigned ? -32768 : 0;
    if (value > registerMax)
        return formatFixedPoint(static_cast<std::int32_t>(registerMax), decimals);
    if (value < registerMin)
        return formatFixedPoint(static_cast<std::int32_t>(registerMin), decimals);
    return entry;
}
