#include "app/connection_settings.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <limits>

#include "app/comm_window.h"

std::int64_t leadingNumber(const std::string& text)
{
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative || (!text.empty() && text[0] == '+'))
        at = 1;
    std::int64_t value = 0;
    constexpr std::int64_t ceiling = std::numeric_limits<std::int32_t>::max();
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = std::min(value * 10 + (text[at] - '0'), ceiling);  // long digit strings stay in range
    return negative ? -value : value;
}

// The point is "." on every desktop: strtof would follow the locale and read "1.5" as 1 in Russian.
float leadingFloat(const std::string& text)
{
    float value = 0;
    const char* first = text.data();
    if (!text.empty() && text[0] == '+')
        ++first;
    if (std::from_chars(first, text.data() + text.size(), value, std::chars_format::fixed).ec != std::errc())
        return 0;
    return value;
}

void takeLineSettingsFromWindow()
{
    const int parity = gui::state(commctl::parityList);
    portParity = parity >= 0 ? static_cast<std::uint16_t>(gui::itemData(commctl::parityList, parity)) : 0;
    portBaud = static_cast<std::uint32_t>(leadingNumber(gui::text(commctl::baudList)));
    portDataBits = static_cast<std::uint16_t>(leadingNumber(gui::text(commctl::dataBitsList)));
    portStopBits = leadingFloat(gui::text(commctl::stopBitsList));
}
