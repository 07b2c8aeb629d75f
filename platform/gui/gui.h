#pragma once
// The window layer: windows and controls addressed by number, one event queue, synchronous hooks
// for the table and the main window, menus, status bar. The rest of the program talks only to
// this header (and message_box.h, dialogs.h); Qt stays behind it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;
class QAction;

namespace gui {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool isNone = true;  // the control's own default colour
    static Rgb none() { return {}; }
    static Rgb of(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {r, g, b, false}; }
    bool operator==(const Rgb&) const = default;
};

enum class EventKind { None, Menu, Control, Close, Size };
enum class EventType { None, Change, ReturnKey, Focus, Click };

struct Event {
    EventKind kind = EventKind::None;
    int window = -1;
    int id = 0;  // menu command or control number
    EventType type = EventType::None;
};

// ---- start and the event loop -------------------------------------------------------------
// Creates the application object (once); argv is not read.
void initialise();
// Blocks until an event is queued and returns it (the main loop's wait). The user's events are
// taken one command at a time: input that comes after a command not yet taken waits for it, and an
// event whose control, menu item or window has been disabled or hidden since is dropped.
Event waitEvent();
// Returns a queued event or an empty one without waiting (processes pending window events first).
Event pollEvent();
// Queues an event of the program's own: it arrives whatever has become of its window meanwhile.
void postEvent(const Event& event);
void clearEventQueue();
// Lets windows catch up during a long command without handling any input; call it where the
// command waits anyway. At most once per frame, in two calls: the changes go into the widgets,
// then the windows paint them.
void repaintWithoutInput();
// Queues the event when the process is asked to end (SIGTERM, SIGINT, SIGHUP). A second request
// before the loop is back for its next event after handling the first (a question the first one
// asked still stands) runs release and ends the process at once with exit code 0.
void postOnTerminationRequest(const Event& event, std::function<void()> release);

// ---- windows -------------------------------------------------------------------------------
enum WindowFlags : unsigned {
    closeBox = 1,        // title bar with a close box
    sizable = 2,         // sizing border with minimise and maximise boxes
    toolWindow = 4,      // title bar only
    alwaysOnTop = 8,
    withMenuAndStatus = 16,  // the main window: menu bar and status bar
};
enum class WindowState { Normal, Maximised, Minimised };

// Opens a hidden top-level window with the given inner size (menu bar included). owner -1: none.
bool openWindow(int window, Rect inner, std::string_view title, unsigned flags, int owner = -1);
void closeWindow(int window);
// Closes every window, forgets every control and drops the queued events (the end of the program,
// and a fresh start for each test).
void closeAllWindows();
bool windowExists(int window);
void showWindow(int window, bool show, bool activate = true);
bool windowVisible(int window);
void enableWindow(int window, bool enabled);
bool windowEnabled(int window);
void activateWindow(int window);
// Paints the window at once, without handling any user input; a window just shown is first given
// the moment the window system needs to put it on the screen.
void repaintWindowNow(int window);
void setWindowTitle(int window, std::string_view title);
std::string windowTitle(int window);
void centreWindow(int window, int over);  // over -1: the screen
// The primary screen's area left free by panels; empty when there is no screen.
Rect availableScreenArea();
void moveWindow(int window, int x, int y);
void resizeWindow(int window, int innerWidth, int innerHeight);
Rect windowInnerRect(int window);  // x, y on screen; w, h the inner size
void setWindowState(int window, WindowState state);
WindowState windowState(int window);
// The smallest outer size the user can drag the window to.
void setMinimumOuterSize(int window, int width, int height);

struct WindowMessage {
    enum Kind { SizeChanged } kind;
    int width = 0, height = 0;  // inner size
};
// Runs synchronously inside the window's own handling (the main window's callback).
void setWindowHook(int window, std::function<void(const WindowMessage&)> hook);

// ---- controls (numbers are unique program-wide) ---------------------------------------------
enum class Align { Left, Centre, Right };

void button(int window, int id, Rect r, std::string_view text);
void label(int window, int id, Rect r, std::string_view text, Align align = Align::Left,
           Rgb background = Rgb::none());
void picture(int window, int id, Rect r, const std::uint8_t* rgba, int width, int height);
void frame(int window, int id, Rect r, std::string_view caption);
void checkBox(int window, int id, Rect r, std::string_view text);
// Drop-down list the user cannot type into.
void comboBox(int window, int id, Rect r, int parentControl = -1);
// Single-line edit field; digitsOnly refuses every other character.
void editField(int window, int id, Rect r, int parentControl = -1, bool digitsOnly = false);
void spinner(int window, int id, Rect r, int minimum, int maximum);
void textArea(int window, int id, Rect r, bool wordWrap = true);  // read-only, multi-line
void tabPanel(int window, int id, Rect r, const std::vector<std::string>& tabs);
// Puts a control on a tab page: it is shown only while that page is selected.
void placeOnTab(int tabPanelId, int page, int id);
void tree(int window, int id, Rect r);
void table(int window, int id, Rect r);
// A splitter holding two existing controls side by side; the left one keeps its width when the
// splitter is resized.
void splitter(int window, int id, Rect r, int leftControl, int rightControl);

bool controlExists(int id);
void destroyControl(int id);
void moveControl(int id, Rect r);
Rect controlRect(int id);
void showControl(int id, bool show);
bool controlVisible(int id);  // shown itself (its window may be hidden)
void enableControl(int id, bool enabled);
bool controlEnabled(int id);
void setText(int id, std::string_view text);  // raises no event
std::string text(int id);
void setFont(int id, std::string_view family, int points);
void setFocus(int id);  // an edit field given the keyboard has its whole text selected
void repaintControl(int id);

// Check box state, spinner value, tab page, combo selection (-1 none).
void setState(int id, int state);
int state(int id);

// Combo items.
void clearItems(int id);
void addItem(int id, std::string_view text, long data = 0);
int itemCount(int id);
std::string itemText(int id, int position);
long itemData(int id, int position);

// Text area.
void appendLine(int id, std::string_view line);  // adds a line and scrolls to the end

// Edit field caret.
int caretPosition(int id);
void setCaretPosition(int id, int position);

// Splitter divider (the left part's width).
void setSplitterPosition(int id, int position);
int splitterPosition(int id);

// ---- tree -----------------------------------------------------------------------------------
void treeClear(int id);
// Adds an item under the last item of level-1 (level 0: top) and returns its index.
int treeAddItem(int id, int level, std::string_view text, Rgb background = Rgb::none());
void treeExpandAll(int id);
void treeSelect(int id, int index);  // raises no event
int treeSelected(int id);            // -1 none
std::string treeItemText(int id, int index);
int treeItemCount(int id);

// ---- table (column 0 holds the check boxes) ----------------------------------------------------
void tableSetColumns(int id, const std::vector<std::pair<std::string, int>>& headingsAndWidths);
int tableColumnWidth(int id, int column);
void tableClearRows(int id);
int tableAppendRow(int id);  // returns the new row's number
int tableRowCount(int id);
void setCellText(int id, int row, int column, std::string_view text);
std::string cellText(int id, int row, int column);
void setCellColour(int id, int row, int column, Rgb background);
Rgb cellColour(int id, int row, int column);
void setRowChecked(int id, int row, bool checked);
bool rowChecked(int id, int row);
// Cell rectangle and hit test in the coordinates of the table's cell area (where its child
// controls live); -1 outside.
Rect tableCellRect(int id, int row, int column);
std::pair<int, int> tableHitTest(int id, int x, int y);
void tableSelectRow(int id, int row);

struct TableMessage {
    enum Kind { LeftButton, RightButton, Scroll, Wheel, HeaderResize } kind;
    int x = 0, y = 0;              // cell-area coordinates of the cursor
    int globalX = 0, globalY = 0;  // screen coordinates (where a popup opens)
};
// Runs synchronously after the table's own handling of the message (its replaced window procedure).
void setTableHook(int id, std::function<void(const TableMessage&)> hook);

// ---- menus and status bar ---------------------------------------------------------------------
// Menu bar of a window: menus and submenus are opened with a caption, items carry command numbers.
void menuBegin(int window, std::string_view caption);  // top-level menu
void submenuBegin(std::string_view caption);
void submenuEnd();
void menuItem(int command, std::string_view text, bool enabled = true);
void menuSeparator();
void enableMenuItem(int command, bool enabled);
bool menuItemEnabled(int command);
void checkMenuItem(int command, bool checked);
bool menuItemChecked(int command);
std::string menuItemText(int command);

void popupCreate(int popup);
// Commands of a popup arrive as menu events of the given window.
void popupItem(int popup, int window, int command, std::string_view text, bool enabled = true);
void popupSeparator(int popup);
void popupShow(int popup, int globalX, int globalY);
int popupShown();  // the popup last shown and still open, or -1 (tests)

// Status bar of the main window: fields with widths, texts, a picture and a progress bar.
struct StatusField {
    int width = 0;
    Align align = Align::Left;
    bool bordered = false;  // a sunken border around the field
};
void statusFields(int window, const std::vector<StatusField>& fields);
void statusText(int window, int field, std::string_view text);
std::string statusFieldText(int window, int field);
void statusPicture(int window, int field, const std::uint8_t* rgba, int width, int height);
void statusProgress(int window, int field);
void setProgressRange(int window, int maximum);
void setProgress(int window, int value);
int progress(int window);

// ---- clipboard --------------------------------------------------------------------------------
void setClipboardText(std::string_view text);
std::string clipboardText();

// ---- for tests ----------------------------------------------------------------------------
QWidget* widgetOf(int id);  // creates a lazily built control's widget
QWidget* windowWidget(int window);
QAction* menuAction(int command);

}  // namespace gui
