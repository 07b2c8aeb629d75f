#include "link/trace.h"

#include "app/log_file.h"
#include "app/window_ids.h"
#include "platform/gui/gui.h"

void traceLine(std::string_view text)
{
    logLine(text);
    // The line reaches the screen with the next frame: painting here would hold up the exchange.
    if (gui::controlExists(ctl::traceText))
        gui::appendLine(ctl::traceText, text);
    gui::activateWindow(win::main);
}

std::string hexBytesText(const std::uint8_t* bytes, std::size_t length)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 3);
    for (std::size_t i = 0; i < length; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 0x0F]);
        text.push_back(' ');
    }
    return text;
}
