#include "app/typed_entry.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

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

std::string normaliseEntry(std::string_view typed, std::uint16_t decimals)
{
    const std::string text(typed);
    double value = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(value))
        value = 0;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(decimals), value);
    std::string result = buffer;
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
