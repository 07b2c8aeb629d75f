#!/usr/bin/env bash
# A minimised window that the Main Window waits for never strands the program: activating the Main
# Window, from the task list or by a click on it, brings back the window that holds the input,
# shown normal, raised and active. So it is for the Comm Window, for a question asked over the Comm
# Window, and for both when the Main Window itself was minimised with them.
source "$(dirname "$0")/session.sh"
x11_require import compare
x11_start
x11_start_program
x11_file_new 0  # Zr12: another model chosen in the Comm Window then asks a question

# $1 window, $2 what it is: on the screen in normal state and the active window. Window managers
# that draw a window shrinking away and growing back are through with that once the screen is still.
expect_back() {
    x11_wait_until "$2 did not come back on the screen" bash -c "xwininfo -id $1 | grep -q IsViewable"
    x11_wait_until "$2 did not become the active window" bash -c "[ \"\$(xdotool getactivewindow)\" = $1 ]"
    xprop -id "$1" WM_STATE | grep -q "window state: Normal" || x11_fail "$2 is not in normal state"
    xprop -id "$1" _NET_WM_STATE | grep -q "_NET_WM_STATE_HIDDEN" && x11_fail "$2 is still hidden"
    x11_stacked_above "$1" "$MAIN_WINDOW" || x11_fail "$2 is behind the Main Window"
    x11_wait_still
}

# Minimises window $1, then activates the Main Window as $2 says: "task-list" (a task list's
# request) or "click" (on the Main Window's title bar, where it is still on the screen).
minimise_then_activate_main() {
    xdotool windowminimize "$1"
    x11_wm_sync
    x11_screenshot "minimised-$2"
    if [ "$2" = click ] && xwininfo -id "$MAIN_WINDOW" | grep -q IsViewable; then
        x11_click_title "$MAIN_WINDOW"
    else
        wmctrl -i -a "$MAIN_WINDOW"
    fi
}

# $1 the window that holds the input, $2 what it is, $3 the window it belongs to, $4 what that is:
# each minimised in turn, $1 comes back once the Main Window is activated either way.
expect_comes_back() {
    local how
    for how in task-list click; do
        minimise_then_activate_main "$1" "$how"
        expect_back "$1" "$2 ($how)"
        minimise_then_activate_main "$3" "$how"
        expect_back "$1" "$2 after $4 was minimised ($how)"
    done
}

x11_menu 1 Return  # Connection, settings
comm=$(x11_wait_window "^Настройки подключения$")
expect_comes_back "$comm" "the Comm Window" "$MAIN_WINDOW" "the Main Window"

x11_geometry "$comm"
xdotool mousemove $((X + 275)) $((Y + 50)) click 1  # the model list opens its drop-down
x11_wait_program_windows 3
xdotool key Escape
x11_wait_program_windows 2
xdotool key Down  # another model: "Внимание" asks about the open document
question=$(x11_wait_window "^Внимание$")
expect_comes_back "$question" "the question" "$comm" "the Comm Window"
xdotool key Tab space  # "Нет"
x11_wait_gone "^Внимание$"
x11_close_by_manager "$comm"
x11_wait_gone "^Настройки подключения$"
x11_expect_main_takes_command "closing the Comm Window"

x11_end_program
echo "PASS"
