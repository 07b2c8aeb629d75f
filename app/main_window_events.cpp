#include "app/main_window_events.h"

#include <array>

#include "app/about_window.h"
#include "app/comm_window.h"
#include "app/connection.h"
#include "app/document_commands.h"
#include "app/documents.h"
#include "app/in_place_editors.h"
#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/main_window.h"
#include "app/parameter_commands.h"
#include "app/parameter_table.h"
#include "app/program_shell.h"
#include "app/window_ids.h"

namespace {

struct NewDocumentCommand {
    int command;
    const char* tag;
};

constexpr std::array<NewDocumentCommand, 8> newDocumentCommands = {{
    {cmd::newZr12, tagMenuZr12},
    {cmd::newZr24, tagMenuZr24},
    {cmd::newZr48, tagMenuZr48},
    {cmd::newZr48X, tagMenuZr48X},
    {cmd::newYv20, tagMenuYv20},
    {cmd::newYv32, tagMenuYv32},
    {cmd::newYv33, tagMenuYv33},
    {cmd::newJx9, tagMenuJx9},
}};

bool newDocumentCommand(int command)
{
    for (const auto& item : newDocumentCommands)
        if (item.command == command) {
            newDocument(gui::menuItemText(command));
            logLine(item.tag);
            return true;
        }
    return false;
}

void menuCommand(int command)
{
    if (newDocumentCommand(command))
        return;
    if (command >= 39 && command <= 48) {
        openManual(command);
        return;
    }
    switch (command) {
    case cmd::exit: closeProgramWindows(); break;
    case cmd::commSettings: showConnectionWindow(); break;
    case cmd::disconnect: disconnectDevice(); break;
    case cmd::monitor: toggleMonitorWindow(); break;
    case cmd::help: openHelpFile(); break;
    case cmd::about: openAboutWindow(); break;
    default:
        if (!documentCommand(command))
            tableCommand(command);
        break;
    }
}

void controlEvent(const gui::Event& event)
{
    if (event.id == ctl::tree) {
        if (event.type == gui::EventType::Change) {
            hideCurrentEditor();
            refreshTableForTree();
        }
    } else if (event.id >= 1000) {
        inPlaceEditorEvent(event);
    } else if (event.id == ctl::readAllButton) {
        readAllParameters();
    } else if (event.id == ctl::writeAllButton) {
        writeAllParameters();
    }
}

}  // namespace

void mainWindowEvents(const gui::Event& event)
{
    switch (event.kind) {
    case gui::EventKind::Close: closeBoxOfMainWindow(); break;
    case gui::EventKind::Menu: menuCommand(event.id); break;
    case gui::EventKind::Control: controlEvent(event); break;
    default: break;
    }
}
