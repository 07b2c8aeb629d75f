#include "app/program_shell.h"

#include <string>

#include "app/about_window.h"
#include "app/comm_window.h"
#include "app/documents.h"
#include "app/link_reports.h"
#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/main_window.h"
#include "app/main_window_events.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/value_editors.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "link/link_buffers.h"
#include "link/serial_link.h"
#include "platform/clock/clock.h"
#include "platform/gui/gui.h"
#include "resources/pictures.h"

namespace {

void updateTitleAndFileMenu()
{
    if (documentState == 0)
        gui::setWindowTitle(win::main, programTitle);
    else if (documentState == 1)
        gui::setWindowTitle(win::main, programTitle + " - " + currentFileName);
    else if (documentState == 2)
        gui::setWindowTitle(win::main, programTitle + " - *" + currentFileName);
    const bool open = documentState != 0;
    gui::enableMenuItem(cmd::fileSave, open);
    gui::enableMenuItem(cmd::fileSaveAs, open);
    gui::enableMenuItem(cmd::exportCsv, open);
    gui::enableMenuItem(cmd::print, false);
}

void monitorWindowEvents(const gui::Event& event)
{
    if (event.kind == gui::EventKind::Control && event.id == ctl::clearTraceButton) {
        gui::setText(ctl::traceText, "");
    } else if (event.kind == gui::EventKind::Control && event.id == ctl::logCheckBox) {
        logOut = gui::state(ctl::logCheckBox) != 0 ? 1 : 0;
    } else if (event.kind == gui::EventKind::Close) {
        gui::showWindow(win::monitor, false);
        gui::checkMenuItem(cmd::monitor, false);
        gui::activateWindow(win::main);
    }
}

void dispatch(const gui::Event& event)
{
    switch (event.window) {
    case win::main: mainWindowEvents(event); break;
    case win::monitor: monitorWindowEvents(event); break;
    case win::about: aboutWindowEvents(event); break;
    case win::comm: connectionWindowEvents(event); break;
    case win::bitToHex: bitToHexEvents(event); break;
    case win::digitToDec: digitToDecEvents(event); break;
    case win::digitToHex: digitToHexEvents(event); break;
    default: break;  // the Wait Window's events are ignored
    }
}

// The next start rejects a file holding a size of 0 and resets every setting: a part that reports
// no size keeps the one it was given.
void takeSize(std::uint16_t& stored, int current)
{
    if (current > 0 && current <= 65535)
        stored = static_cast<std::uint16_t>(current);
}

// The serial port (with its exclusive mark) and the log are given back on every way out.
void releasePortAndLog()
{
    closeSerialPort();
    closeLogFile();
}

}  // namespace

// Takes the Main Window's size, divider and column widths into the settings; a maximised window
// keeps the normal size it was given at start-up.
void captureWindowLayout()
{
    switch (gui::windowState(win::main)) {
    case gui::WindowState::Maximised: windowLayout.state = windowStateMaximised; break;
    case gui::WindowState::Minimised: windowLayout.state = windowStateMinimised; break;
    case gui::WindowState::Normal: {
        windowLayout.state = windowStateNormal;
        const gui::Rect inner = gui::windowInnerRect(win::main);
        takeSize(windowLayout.width, inner.w);
        takeSize(windowLayout.height, inner.h);
        break;
    }
    }
    takeSize(windowLayout.splitter, gui::splitterPosition(ctl::splitter));
    for (std::size_t c = 0; c < windowLayout.columnWidths.size(); ++c)
        takeSize(windowLayout.columnWidths[c], gui::tableColumnWidth(ctl::table, static_cast<int>(c) + 1));
}

void endProgram()
{
    releasePortAndLog();
    gui::closeAllWindows();
}

bool startProgram()
{
    sysclock::wakeOnTime();
    gui::initialise();
    decodeEmbeddedPictures();
    clearDeviceDescription();
    exportRows.clear();
    currentModelName = "----";
    programTitle = "Paramora";
    installLinkReports();
    allocateLinkBuffers();
    connectedPort = 0;
    loadSettings();
    if (!buildMainWindow())
        return false;
    // Ending the session or an interrupt asks the program to end as File, "Выход" does; asked again
    // while the save question stands, it ends at once without saving. Taken before the start lines
    // say the program is up, so that a request right after them never meets the signal's default.
    gui::postOnTerminationRequest({gui::EventKind::Menu, win::main, cmd::exit, gui::EventType::None},
                                  releasePortAndLog);
    writeStartLines();
    updateTitleAndFileMenu();
    return true;
}

void handleEvent(const gui::Event& event)
{
    if (event.kind != gui::EventKind::None)
        dispatch(event);
    if (gui::windowExists(win::main))
        updateTitleAndFileMenu();
}

int programMain()
{
    if (startProgram())
        while (gui::windowExists(win::main))
            handleEvent(gui::waitEvent());
    endProgram();
    return 0;
}

int closeProgramWindows()
{
    // A modified document is not dropped without the question; a failed save keeps the program running.
    if (!saveQuestionAllowsToGoOn(unsavedQuestion))
        return 0;
    closeLogFile();
    for (int window : {win::monitor, win::comm, win::main})
        gui::closeWindow(window);
    return 0;
}

void closeBoxOfMainWindow()
{
    logLine(tagCloseWindow);
    if (!saveQuestionAllowsToGoOn(unsavedQuestion))
        return;
    captureWindowLayout();
    saveSettings();
    closeSerialPort();
    gui::closeWindow(win::main);
}
