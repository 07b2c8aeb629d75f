#include "app/value_editors_window.h"

#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/set_value_change.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "platform/gui/message_box.h"

Parameter* editedParameter() { return findParameterByKey(editKey); }

bool openEditorWindow(int window, gui::Rect inner, const char* failureText, const Parameter& parameter)
{
    if (!gui::openWindow(window, inner, parameter.code + " - " + parameter.name, gui::closeBox, win::main)) {
        gui::messageBox("Ошибка", failureText, gui::Icon::Error);
        // Ends the program as a Main Window that fails to open does: no question, no settings.
        for (int w : {win::monitor, win::comm, win::main})
            gui::closeWindow(w);
        return false;
    }
    gui::centreWindow(window, win::main);
    return true;
}

void showEditorWindow(int window)
{
    gui::enableWindow(win::main, false);
    gui::showWindow(window, true);
    gui::activateWindow(window);
}

void closeEditorWindow(int window)
{
    if (!gui::windowExists(window))
        return;
    gui::closeWindow(window);
    gui::enableWindow(win::main, true);
    gui::activateWindow(win::main);
}

void storeEditedValue(Parameter& parameter, std::int32_t value, const std::string& text)
{
    changeSetValue(parameter, value);
    gui::setCellText(ctl::table, currentRow, currentColumn, text);
    gui::setText(parameter.optionKey, text);
    colourTableRow(currentRow, parameter.setValue, parameter.readValue, parameter.access, parameter.defaultText);
}

std::string hexDigits(std::uint32_t value, int width)
{
    static constexpr char symbols[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), symbols[value % 16]);
        value /= 16;
    } while (value != 0);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

std::string decimalDigits(std::int64_t value, int width)
{
    const bool negative = value < 0;
    std::string text = std::to_string(negative ? -value : value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return negative ? "-" + text : text;
}

std::string hexValueLineText(std::uint32_t value, int width)
{
    return std::string(valueLinePrefix) + "$" + hexDigits(value, width) + " = " + std::to_string(value);
}
