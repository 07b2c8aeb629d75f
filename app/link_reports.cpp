#include "app/link_reports.h"

#include <string_view>

#include "app/log_file.h"
#include "app/window_ids.h"
#include "link/link_sink.h"
#include "platform/gui/gui.h"
#include "platform/gui/message_box.h"

namespace {

// Logs the line, appends it to the Monitor Window's trace, shown or not, and makes the Main
// Window active again.
void traceToLogAndMonitor(std::string_view line)
{
    logLine(line);
    // The line reaches the screen with the next frame: painting here would hold up the exchange.
    if (gui::controlExists(ctl::traceText))
        gui::appendLine(ctl::traceText, line);
    gui::activateWindow(win::main);
}

}  // namespace

void installLinkReports()
{
    installLinkSink({
        .traceLine = traceToLogAndMonitor,
        .portUnavailable = [](std::string_view text) { gui::messageBox("Ошибка", text, gui::Icon::Error); },
        .bufferNotAllocated = [](std::string_view text) { gui::messageBox("", text, gui::Icon::Error); },
    });
}
