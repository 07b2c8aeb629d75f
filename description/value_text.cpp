#include "description/value_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "description/description_store.h"

namespace {

constexpr const char* readOnlyDefaultText = "Только чтение";

// A named limit may name a parameter whose own minimum names another; no description goes
// deeper than one step, the bound only stops a cycle.
constexpr int maxLimitChain = 8;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view skipBlanks(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.substr(i);
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 99;
}

// Blanks, a sign, then "$" hex digits, "%" base-2 digits or decimal digits; stops at the first
// character that does not belong. Digit strings past the 64-bit range give its nearer end.
std::int64_t readInteger(std::string_view text)
{
    text = skipBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    }
    // The magnitude of the most negative value is one more than that of the most positive.
    const std::uint64_t ceiling = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit >= static_cast<int>(base))
            break;
        if (value > (ceiling - static_cast<unsigned>(digit)) / base) {
            value = ceiling;
            break;
        }
        value = value * base + static_cast<unsigned>(digit);
    }
    if (negative)
        value = 0 - value;
    return static_cast<std::int64_t>(value);
}

template <typename Integer>
Integer saturated(std::int64_t value)
{
    return static_cast<Integer>(std::clamp<std::int64_t>(value, std::numeric_limits<Integer>::min(),
                                                         std::numeric_limits<Integer>::max()));
}

template <typename Integer>
Integer saturated(double value)
{
    // Past either end gives that end (the 64-bit maximum rounds up to 2^63 as a double, so nothing
    // out of range reaches the cast).
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<Integer>::max()))
        return std::numeric_limits<Integer>::max();
    if (value <= static_cast<double>(std::numeric_limits<Integer>::min()))
        return std::numeric_limits<Integer>::min();
    return static_cast<Integer>(value);
}

std::size_t characterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

// A text with a point: |whole| x 10^n + fraction, n being the length of the fraction text, with the
// sign of the whole part applying to the whole number. May be out of any integer range, or infinite
// for absurd lengths.
double pointValue(std::string_view text, std::size_t point)
{
    const std::string_view whole = text.substr(0, point);
    std::string_view fraction = text.substr(point + 1);
    fraction = fraction.substr(0, fraction.find('.'));
    const double wholeMagnitude = std::fabs(static_cast<double>(readInteger(whole)));
    // 0 x 10^400 would be NaN in floating point; it is 0.
    const double scaled =
        wholeMagnitude == 0.0 ? 0.0 : wholeMagnitude * std::pow(10.0, static_cast<double>(characterCount(fraction)));
    const double magnitude = std::round(scaled + static_cast<double>(readInteger(fraction)));
    const std::string_view signPart = skipBlanks(whole);
    return !signPart.empty() && signPart.front() == '-' ? -magnitude : magnitude;
}

std::string padded(std::string digits, std::size_t width)
{
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

std::string digitsOf(std::uint32_t value, unsigned base)
{
    static constexpr char symbols[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), symbols[value % base]);
        value /= base;
    } while (value != 0);
    return text;
}

// Decimals a parameter's value is written with when it stands in for a limit.
std::uint16_t decimalsOfFormat(std::uint16_t displayFormat)
{
    if (displayFormat <= 9)
        return displayFormat;
    return displayFormat >= 50 ? 9 : 0;
}

std::int64_t resolvedMinimum(const Parameter& parameter, int depth)
{
    if (depth < maxLimitChain) {
        if (const Parameter* target = limitTarget(parameter.minText); target && target != &parameter)
            return resolvedMinimum(*target, depth + 1);
    }
    return parseValueText64(parameter.minText);
}

}  // namespace

std::int64_t parseValueText64(std::string_view text)
{
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos)
        return readInteger(text);
    return saturated<std::int64_t>(pointValue(text, point));
}

std::int32_t parseValueText(std::string_view text)
{
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos)
        return saturated<std::int32_t>(readInteger(text));
    return saturated<std::int32_t>(pointValue(text, point));
}

std::string formatFixedPoint(std::int32_t value, std::uint16_t decimals)
{
    if (decimals > 9)
        decimals = 9;
    const std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
    std::string text = value < 0 ? "-" : "";
    if (decimals == 0)
        return text + std::to_string(magnitude);
    std::int64_t scale = 1;
    for (std::uint16_t i = 0; i < decimals; ++i)
        scale *= 10;
    text += std::to_string(magnitude / scale);
    text += '.';
    text += padded(std::to_string(magnitude % scale), decimals);
    return text;
}

std::string displayText(std::int32_t value, std::uint16_t displayFormat)
{
    const auto word = static_cast<std::uint16_t>(value);
    if (displayFormat >= 10 && displayFormat <= 19)
        return padded(digitsOf(word, 2), displayFormat - 10u);
    if (displayFormat >= 20 && displayFormat <= 29)
        return "$" + padded(digitsOf(word, 16), displayFormat - 20u);
    if (displayFormat >= 30 && displayFormat <= 39) {
        // The sign goes in front of the padded digits, so digit positions stay where the fields are.
        const std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
        return (value < 0 ? "-" : "") + padded(std::to_string(magnitude), displayFormat - 30u);
    }
    if (displayFormat >= 40 && displayFormat <= 49)
        return "$" + padded(digitsOf(word, 16), displayFormat - 40u);
    return formatFixedPoint(value, displayFormat);
}

std::string optionText(const Parameter& parameter, std::int32_t value)
{
    for (const ValueOption& option : valueOptionsOf(parameter.optionKey)) {
        if (valueFromRegister(parameter, option.value) == value)
            return std::to_string(option.value) + ": " + option.text;
    }
    return {};
}

std::string valueCellText(const Parameter& parameter, std::int32_t value)
{
    return parameter.optionCount > 0 ? optionText(parameter, value) : displayText(value, parameter.displayFormat);
}

std::string rangeText(const Parameter& parameter)
{
    if (parameter.minText == noValueText || parameter.maxText == noValueText)
        return {};
    return parameter.minText + " ... " + parameter.maxText;
}

std::string defaultCellText(const Parameter& parameter)
{
    return parameter.access == 0 ? std::string(readOnlyDefaultText) : parameter.defaultText;
}

std::string registerAddressText(std::uint16_t address)
{
    return std::to_string(address) + " (0x" + padded(digitsOf(address, 16), 4) + ")";
}

std::string eepromAddressText(const Parameter& parameter)
{
    if (parameter.access == 0 || parameter.eepromAddress == parameter.address)
        return {};
    return registerAddressText(parameter.eepromAddress);
}

bool hasDefault(const Parameter& parameter)
{
    return !parameter.defaultText.empty() && parameter.defaultText != noValueText;
}

bool limitNamesParameter(std::string_view limitText)
{
    return limitText.find_first_of("PFH") != std::string_view::npos;
}

const Parameter* limitTarget(std::string_view limitText)
{
    return limitNamesParameter(limitText) ? findParameterByCode(limitText) : nullptr;
}

std::string resolvedLimitText(std::string_view limitText)
{
    const Parameter* target = limitTarget(limitText);
    if (!target)
        return std::string(limitText);
    const std::int32_t value = target->access != 0 ? target->setValue : target->readValue;
    return formatFixedPoint(value, decimalsOfFormat(target->displayFormat));
}

bool isSignedParameter(const Parameter& parameter) { return resolvedMinimum(parameter, 0) < 0; }

std::int32_t valueFromRegister(const Parameter& parameter, std::uint16_t word)
{
    return isSignedParameter(parameter) ? static_cast<std::int16_t>(word) : word;
}

std::int32_t initialValue(const Parameter& parameter)
{
    if (hasDefault(parameter))
        return parseValueText(parameter.defaultText);
    if (const Parameter* target = limitTarget(parameter.minText))
        return valueFromRegister(parameter, static_cast<std::uint16_t>(parseValueText(target->minText)));
    return parseValueText(parameter.minText);
}

int initialValuesFromDefaults()
{
    for (Parameter& parameter : parameters) {
        parameter.readValue = initialValue(parameter);
        parameter.setValue = parameter.readValue;
    }
    return 0;
}
