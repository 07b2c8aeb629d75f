#include "app/connection_settings.h"

#include <algorithm>
#include <cstdlib>
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

float leadingFloat(const std::string& text) { return std::strtof(text.c_str(), nullptr); }

void takeLineSettingsFromWindow()
{
    const int parity = gui::state(commctl::parityList);
    portParity = parity >= 0 ? static_cast<std::uint16_t>(gui::itemData(commctl::parityList, parity)) : 0;
    portBaud = static_cast<std::uint32_t>(leadingNumber(gui::text(commctl::baudList)));
    portDataBits = static_cast<std::uint16_t>(leadingNumber(gui::text(commctl::dataBitsList)));
    portStopBits = leadingFloat(gui::text(commctl::stopBitsList));
}
