#include "app/in_place_editors.h"

#include <algorithm>
#include <vector>

#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/main_window.h"
#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/set_value_change.h"
#include "app/typed_entry.h"
#include "app/value_editors.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "description/value_text.h"

namespace {

bool isChoice(const Parameter& p) { return p.optionCount > 0; }

// Coded values are edited in a value editor window, which the editor's focus opens.
bool isCoded(const Parameter& p) { return p.displayFormat >= 20 && p.displayFormat < 50; }

// The editor of a table row, or 0 when the row shows nothing.
std::int32_t editorOfRow(std::int32_t row)
{
    const std::int32_t key = RowToKey.read(row);
    return key != 0 && gui::controlExists(key) ? key : 0;
}

void hideEditorOfRow(std::int32_t row)
{
    if (const std::int32_t key = editorOfRow(row))
        gui::showControl(key, false);
}

void fillChoiceEditor(const Parameter& p)
{
    const int key = p.optionKey;
    gui::clearItems(key);
    int added = 0;
    for (const ValueOption& option : valueOptionsOf(key)) {
        if (added == p.optionCount)
            break;
        gui::addItem(key, std::to_string(option.value) + ": " + option.text, option.value);
        if (option.value == p.setValue)
            gui::setState(key, added);
        ++added;
    }
}

bool isShown(const Parameter& p)
{
    return KeyToRow.contains(p.optionKey) && RowToKey.read(KeyToRow.read(p.optionKey)) == p.optionKey;
}

void setEditorContext(const Parameter& p)
{
    editCode = p.code;
    editKey = static_cast<std::uint16_t>(p.optionKey);
    editMinText = p.minText;
    editMaxText = p.maxText;
    editDefaultText = p.defaultText;
    editFormat = p.displayFormat;
    editSetValue = static_cast<std::uint16_t>(p.setValue);
    editWritable = p.access;
}

// Parameters whose limits name the edited one follow a new value that passes them (one level deep).
void applyDependentLimits(const Parameter& edited, std::int32_t value)
{
    const std::uint16_t decimals = decimalsOf(edited);
    for (Parameter& dependent : parameters) {
        const bool boundAbove = dependent.maxText == edited.code;
        const bool boundBelow = dependent.minText == edited.code;
        if (!boundAbove && !boundBelow)
            continue;
        const auto bound = static_cast<std::int32_t>(rescale(value, decimals, decimalsOf(dependent)));
        bool changed = false;
        if (boundAbove && dependent.setValue > bound)
            changed = changeSetValue(dependent, bound);
        else if (!boundAbove && boundBelow && dependent.setValue < bound)
            changed = changeSetValue(dependent, bound);
        const bool shown = isShown(dependent);
        if (changed) {
            const std::string text = valueCellText(dependent, dependent.setValue);
            syncEditorToSetValue(dependent);
            if (shown)
                gui::setCellText(ctl::table, KeyToRow.read(dependent.optionKey), currentColumn, text);
        }
        if (shown)
            colourTableRow(KeyToRow.read(dependent.optionKey), dependent.setValue, dependent.readValue, dependent.access,
                           dependent.defaultText);
    }
}

void returnKeyInField(Parameter& p)
{
    const int key = p.optionKey;
    const std::string entry = normaliseEntry(gui::text(key), decimalsOf(p));
    const std::string fieldText = clampedEntry(entry, p);
    gui::setText(key, fieldText);
    gui::setCellText(ctl::table, currentRow, currentColumn, fieldText);
    const std::int32_t value = parseValueText(fieldText);
    applyDependentLimits(p, value);
    changeSetValue(p, value);
    gui::showControl(key, false);
}

void openValueEditorFor(const Parameter& p)
{
    if (!isCoded(p))
        return;
    const std::uint16_t f = p.displayFormat;
    gui::showControl(p.optionKey, false);
    if (f < 30)
        openDigitToHexWindow();
    else if (f < 40)
        openDigitToDecWindow();
    else
        openBitToHexWindow();
}

void showPopupFor(const gui::TableMessage& message)
{
    const Parameter* p = findParameterByKey(RowToKey.read(currentRow));
    const bool writable = p && p->access != 0;
    const bool connected = connectedPort != 0;
    switch (currentColumn) {
    case column::code:
    case column::name:
        gui::enableMenuItem(cmd::copyRowToClipboard, true);
        gui::enableMenuItem(cmd::copyAllToClipboard, true);
        gui::popupShow(popup::clipboard, message.globalX, message.globalY);
        break;
    case column::set:
        gui::enableMenuItem(cmd::setDefault, writable && p->defaultText != noValueText);
        gui::enableMenuItem(cmd::writeCurrent, connected && writable);
        gui::enableMenuItem(cmd::writeCurrentEeprom, connected && writable && p->eepromAddress != p->address);
        gui::popupShow(popup::setValue, message.globalX, message.globalY);
        break;
    case column::read:
        gui::enableMenuItem(cmd::readCurrent, connected);
        gui::enableMenuItem(cmd::showDetails, p && p->access == 0 && p->displayFormat >= 20 && p->displayFormat < 50);
        gui::enableMenuItem(cmd::copyCurrent, writable);
        gui::enableMenuItem(cmd::copyAll, writable);
        gui::popupShow(popup::readValue, message.globalX, message.globalY);
        break;
    default:
        break;
    }
}

void leftButton(const gui::TableMessage& message)
{
    const auto [row, col] = gui::tableHitTest(ctl::table, message.x, message.y);
    if (row < 0 || col < 0)
        return;
    if (currentColumn == column::set && currentRow >= 0)
        hideEditorOfRow(currentRow);
    currentRow = row;
    currentColumn = col;
    if (currentColumn == column::set) {
        if (const std::int32_t key = editorOfRow(currentRow)) {
            const gui::Rect cell = gui::tableCellRect(ctl::table, currentRow, currentColumn);
            gui::moveControl(key, cell);
            Parameter* p = findParameterByKey(key);
            if (p && p->access != 0) {
                if (!isChoice(*p) && p->displayFormat < 10)
                    gui::setText(key, formatFixedPoint(p->setValue, p->displayFormat));
                gui::showControl(key, true);
                // Keys typed next belong to the value under the cursor, not to the table. A coded
                // field waits for a click into it, which opens its window.
                if (!isCoded(*p))
                    gui::setFocus(key);
            }
        }
    } else if (currentColumn == column::check) {
        const std::int32_t key = RowToKey.read(currentRow);
        CheckedKeys.write(key, gui::rowChecked(ctl::table, currentRow) ? 1 : 0);
        if (gui::treeSelected(ctl::tree) == treeItemChecked)
            refreshTableForTree();
    }
}

void rightButton(const gui::TableMessage& message)
{
    hideEditorOfRow(currentRow);
    const auto [row, col] = gui::tableHitTest(ctl::table, message.x, message.y);
    currentRow = row;
    currentColumn = col;
    if (currentRow >= 0)
        showPopupFor(message);
}

}  // namespace

int createInPlaceEditors()
{
    // The editors of the previous description go; a key reused by the new one is replaced anyway.
    static std::vector<int> created;
    for (int key : created)
        gui::destroyControl(key);
    created.clear();
    for (const Parameter& p : parameters) {
        created.push_back(p.optionKey);
        const int key = p.optionKey;
        if (isChoice(p)) {
            gui::comboBox(win::main, key, {0, 0, 0, 0}, ctl::table);
            fillChoiceEditor(p);
        } else {
            gui::editField(win::main, key, {0, 0, 0, 0}, ctl::table);
            gui::setText(key, displayText(p.setValue, p.displayFormat));
        }
        gui::showControl(key, false);
        CheckedKeys.write(key, 0);
    }
    return 0;
}

void syncEditorToSetValue(const Parameter& p)
{
    const int key = p.optionKey;
    if (isChoice(p)) {
        gui::setState(key, -1);
        const int count = gui::itemCount(key);
        for (int i = 0; i < count; ++i)
            if (gui::itemData(key, i) == p.setValue) {
                gui::setState(key, i);
                break;
            }
    } else {
        gui::setText(key, valueCellText(p, p.setValue));
    }
}

void tableSubclassProc(const gui::TableMessage& message)
{
    switch (message.kind) {
    case gui::TableMessage::LeftButton:
        leftButton(message);
        break;
    case gui::TableMessage::RightButton:
        rightButton(message);
        break;
    case gui::TableMessage::Scroll:
    case gui::TableMessage::Wheel:
        if (editorOfRow(currentRow)) {
            placeInPlaceEditor();
            hideEditorOfRow(currentRow);
        }
        break;
    case gui::TableMessage::HeaderResize:
        placeInPlaceEditor();
        break;
    }
}

int placeInPlaceEditor()
{
    if (const std::int32_t key = editorOfRow(currentRow)) {
        const gui::Rect cell = gui::tableCellRect(ctl::table, currentRow, currentColumn);
        const gui::Rect now = gui::controlRect(key);
        gui::moveControl(key, {cell.x, cell.y, cell.w, now.h});
        gui::repaintControl(key);
    }
    return 0;
}

namespace {

// How many places a character takes in the field's caret positions, given the first byte of its
// UTF-8 form: the field counts UTF-16 units, two for a character beyond the first 65536.
int caretPlaces(unsigned char leadByte) { return leadByte >= 0xF0 ? 2 : 1; }

bool isUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

int filterNumericInput(int control)
{
    const int caret = gui::caretPosition(control);
    const std::string text = gui::text(control);
    std::string kept;
    int moved = caret;
    bool pointSeen = false;
    // i counts caret places, not bytes: a dropped Cyrillic letter moves the caret one place.
    int i = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (isUtf8Continuation(static_cast<unsigned char>(c)))
            continue;
        const int places = caretPlaces(static_cast<unsigned char>(c));
        const bool keep = (c >= '0' && c <= '9') || (c == '.' && !pointSeen) || (c == '-' && i == 0);
        if (keep) {
            pointSeen |= c == '.';
            kept.push_back(c);
        } else if (c != '.' || caret > i) {
            moved -= places;
        }
        i += places;
    }
    if (kept != text) {
        gui::setText(control, kept);
        gui::setCaretPosition(control, std::clamp(moved, 0, static_cast<int>(kept.size())));
    }
    return 0;
}

void inPlaceEditorEvent(const gui::Event& event)
{
    if (event.id != RowToKey.read(currentRow))
        return;
    Parameter* p = findParameterByKey(event.id);
    if (!p)
        return;
    setEditorContext(*p);
    switch (event.type) {
    case gui::EventType::Change:
        logLine(tagEditorChange);
        if (isChoice(*p)) {
            gui::setCellText(ctl::table, currentRow, currentColumn, gui::text(p->optionKey));
            const int selected = gui::state(p->optionKey);
            if (selected >= 0)
                changeSetValue(*p, static_cast<std::int32_t>(gui::itemData(p->optionKey, selected)));
            gui::showControl(p->optionKey, false);
        } else if (p->displayFormat < 10) {
            filterNumericInput(p->optionKey);
        }
        break;
    case gui::EventType::ReturnKey:
        logLine(tagEditorReturnKey);
        if (isChoice(*p))
            gui::showControl(p->optionKey, false);
        else
            returnKeyInField(*p);
        break;
    case gui::EventType::Focus:
        logLine(tagEditorFocus);
        editValueText = gui::text(p->optionKey);
        openValueEditorFor(*p);
        break;
    default:
        break;
    }
    colourTableRow(currentRow, p->setValue, p->readValue, p->access, p->defaultText);
}
