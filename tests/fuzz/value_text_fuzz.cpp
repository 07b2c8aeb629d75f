// Value texts and the texts made of them, on arbitrary input: the first byte picks a display
// format, the rest is split at the first NUL into a value text and a limit text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/typed_entry.h"
#include "description/description.h"
#include "description/value_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint16_t format = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto split = rest.find('\0');
    const std::string_view text = rest.substr(0, split);
    const std::string_view limit = split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);

    const std::int32_t value = parseValueText(text);
    (void)parseValueText64(text);
    (void)formatFixedPoint(value, format);
    (void)displayText(value, format);
    (void)normaliseEntry(text, static_cast<std::uint16_t>(format % 10));

    Parameter p;
    p.code = "P0.0.00";
    p.displayFormat = format;
    p.access = 1;
    p.minText = std::string(limit);
    p.maxText = std::string(text);
    p.defaultText = std::string(limit);
    p.readValue = value;
    p.setValue = value;
    (void)rangeText(p);
    (void)defaultCellText(p);
    (void)valueCellText(p, value);
    (void)isSignedParameter(p);
    (void)initialValue(p);
    (void)clampedEntry(normaliseEntry(text, decimalsOf(p)), p);
    return 0;
}
