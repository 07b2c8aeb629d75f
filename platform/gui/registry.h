#pragma once
// Internal to the window layer: what it remembers of each window and control.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/gui.h"

class QMenuBar;
class QStatusBar;
class QProgressBar;
class QLabel;
class QWindow;

namespace gui::detail {

enum class ControlKind { Button, Label, Picture, Frame, CheckBox, Combo, Edit, Spinner, TextArea, TabPanel, Tree, Table, Splitter };

// Edit fields and drop-down lists inside the table are created by the hundred and mostly never
// shown: they keep their state here and get a widget only when first needed.
struct LazyState {
    std::string text;
    int caret = 0;
    std::vector<std::pair<std::string, long>> items;
    int selection = -1;
    bool digitsOnly = false;
};

struct ControlRecord {
    int id = 0;
    int window = -1;
    ControlKind kind = ControlKind::Label;
    QPointer<QWidget> widget;
    int parentControl = -1;
    Rect rect;
    bool visible = true;  // the control's own visibility, apart from its tab page
    bool enabled = true;
    int tabPanel = -1;
    int tabPage = -1;
    std::unique_ptr<LazyState> lazy;
};

struct WindowRecord {
    int number = -1;
    QPointer<QWidget> widget;  // the top-level window
    QPointer<QWidget> client;  // where controls live
    unsigned flags = 0;
    int owner = -1;
    bool enabled = true;
    QPointer<QWidget> focusBeforeDisabled;  // the control that had the keyboard when it was disabled
    std::function<void(const WindowMessage&)> hook;
    QSize minimumOuterSize;  // frame included; empty: none
    QMenuBar* menuBar = nullptr;
    QStatusBar* statusBar = nullptr;
    std::vector<QWidget*> statusFields;
    QProgressBar* progress = nullptr;
    int pendingProgress = -1;  // the value the bar shows at the next flush; -1 none
};

std::map<int, WindowRecord>& windows();
std::map<int, ControlRecord>& controls();
WindowRecord* findWindow(int window);
ControlRecord* findControl(int id);

// Registers a control (replacing one of the same number) and places its widget, if any.
ControlRecord& addControl(int window, int id, ControlKind kind, Rect r, QWidget* widget, int parentControl = -1);
// The widget a child of the control parentControl lives in (a table's cell area), or the window's client.
QWidget* parentWidgetFor(int window, int parentControl);
// Creates the widget of a lazy control if it has none yet.
QWidget* materialise(ControlRecord& control);
void applyVisibility(ControlRecord& control);
void forgetWindowControls(int window);

// The window that takes the input for the window given: the window itself, or, while it is
// disabled, the visible window it owns that it waits for (and so on down). Null: no such window.
WindowRecord* windowHoldingInput(int window);

// Makes the window that holds the input for this one active, bringing back any minimised window on
// the way to it; nothing while the window given is hidden or minimised itself. focusJustGiven: the
// window manager has just given the window given the focus, whatever Qt takes for active.
void activateInputHolder(int window, bool focusJustGiven = false);

// A minimised window (ours or a dialog) that a window of ours waits for, itself or through
// another, comes back as above; any other stays minimised.
void bringBackIfWaitedFor(QWidget* window);

// The window a message box or file dialog belongs to, so that it stays above it: the window that
// holds the user's input (the main window, or the window it is disabled for); null before the main
// window is shown.
QWidget* dialogOwner();

Qt::Alignment alignmentOf(Align align);  // horizontal only

QString qs(std::string_view text);
std::string str(const QString& text);

// Lines given to a text area reach its widget in batches: laying the text out line by line would
// cost more than the exchanges it traces. A batch goes in whenever the windows may repaint (while
// a long command runs, only into areas on screen), and before the area's text is read.
void flushPendingLines(int id = -1, bool shownOnly = false);  // -1: every text area
void dropPendingLines(int id);
// Progress values likewise: a bar repaints itself at once, on its own, at each visible step.
void flushPendingProgress();
// Both of the above: what the windows should show when they next paint. During a long command
// (shownOnly) hidden text areas keep their lines until the command ends.
void flushPendingScreenWork(bool shownOnly = false);

// The application's font and Qt's own texts, set once when the application object is made.
void applyProgramFont();
void installQtTranslations();
// Dialogs and tool windows are declared to the window manager as what they are, one type each.
void installDialogWindowTypes();
// A minimised window that another one waits for comes back.
void installInputHolderReturn();

// Events of the user's own actions (clicks, picks, keys, menu commands, close boxes); postEvent
// queues the program's own, which always arrive.
void postUserEvent(const Event& event);
void raiseControlEvent(int window, int id, EventType type);
// A user's event is queued and not yet taken by the program.
bool userEventPending();

// Input that comes while a user's event waits to be taken is held until the program has taken it
// (installed once with the application object), then given to the windows as they are by then,
// one piece at a time while no user's event waits. Input held when a question box opens is dropped.
void installInputHold();
void replayHeldInput();
bool inputHeld();
void dropHeldInput();
// The program's answer to a change the window system made to a window (its new size): while input
// waits, it takes its turn behind that input (true), as the user gave them in that order.
bool takeTurnBehindInput(QWindow* window, std::function<void()> act);

}  // namespace gui::detail
