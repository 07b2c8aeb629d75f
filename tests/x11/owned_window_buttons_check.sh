#!/usr/bin/env bash
# Every window the Main Window owns has a title bar with a close box and no minimise or maximise box
# where the window manager reads what the program asks for (openbox and kwin offer minimise on every
# dialog, and maximise on one that can be resized, the file dialog; minimised_owned_window_check.sh
# shows a minimised window comes back). The window
# manager's frame and allowed actions of each window say what its title bar offers; the manager's
# close command closes it as its close box does, and the Main Window takes commands again. The Main
# Window keeps both boxes. Every message box is declared and offered the same, the warning at
# start-up, which comes before any window could own it, too. (The Wait Window, on the screen only
# while a model loads, is watched by wait_window_check.sh.)
source "$(dirname "$0")/session.sh"
x11_require
x11_start

# $1 window, $2 what it is: framed with a title bar, closable, neither minimisable nor maximisable.
expect_owned_buttons() {
    local actions l r t b
    actions=" $(x11_allowed_actions "$1") "
    read -r l r t b <<<"$(x11_frame "$1")"
    x11_screenshot "buttons-$2"
    [[ "$actions" == *" MOVE "* ]] || x11_fail "$2 is not managed by the window manager (actions:$actions)"
    [ "$t" -gt 0 ] || x11_fail "$2 has no title bar (frame $l $r $t $b)"
    [[ "$actions" == *" CLOSE "* ]] || x11_fail "$2 has no close box (actions:$actions)"
    if x11_wm_reads_button_hints; then
        [[ "$actions" == *" MINIMIZE "* ]] && x11_fail "$2 can be minimised"
        [[ "$actions" == *" MAXIMIZE_"* ]] && x11_fail "$2 can be maximised"
    elif ! x11_resizable "$1"; then
        [[ "$actions" == *" MAXIMIZE_"* ]] && x11_fail "$2 can be maximised at its fixed size"
    fi
    return 0
}

# $1 window: what the window manager is told of it and offers for it: its types, the Motif hints and
# the allowed actions.
declaration() {
    echo "types: $(x11_window_types "$1"); hints: $(xprop -id "$1" _MOTIF_WM_HINTS | sed 's/^[^=]*= *//'); actions: $(x11_allowed_actions "$1")"
}

# $1 window, $2 its title pattern, $3 what it is: the window manager's close command closes it and
# the Main Window takes a command afterwards.
expect_closed_by_manager() {
    x11_close_by_manager "$1"
    x11_wait_gone "$2"
    x11_expect_main_takes_command "closing $3"
}

# Started without a settings file, the program warns before its Main Window is shown (its home is
# the check's folder, where the default settings name their folder).
x11_run_program env HOME="$X11_DIR" "$PARAMORA_BINARY"
warning=$(x11_wait_window "^Предупреждение$")
expect_owned_buttons "$warning" start-up-warning
start_up_box=$(declaration "$warning")
x11_activate "$warning"
xdotool key Return
MAIN_WINDOW=$(x11_wait_window "Paramora")
x11_end_program
rm -f Paramora.ini Paramora.log
x11_start_program

actions=" $(x11_allowed_actions "$MAIN_WINDOW") "
[[ "$actions" == *" MINIMIZE "* && "$actions" == *" MAXIMIZE_VERT "* ]] ||
    x11_fail "the Main Window lost its minimise or maximise box (actions:$actions)"

x11_menu 1 Down Return  # Connection, Monitor
monitor=$(x11_wait_window "^Монитор$")
expect_owned_buttons "$monitor" monitor
expect_closed_by_manager "$monitor" "^Монитор$" monitor

x11_menu 2 Down Down Return  # Help, About
about=$(x11_wait_window "^О программе$")
expect_owned_buttons "$about" about
expect_closed_by_manager "$about" "^О программе$" about

x11_menu 1 Return  # Connection, settings
comm=$(x11_wait_window "^Настройки подключения$")
expect_owned_buttons "$comm" comm
expect_closed_by_manager "$comm" "^Настройки подключения$" comm

x11_file_new 0  # Zr12
x11_open_value_editor
expect_owned_buttons "$EDITOR" editor
expect_closed_by_manager "$EDITOR" "^P3\.2\.[0-9]+ - " editor

# Qt's own dialogs belong to the Main Window in the same way.
x11_menu 0 Down Return  # File, Open
dialog=$(x11_wait_window "^Открыть")
expect_owned_buttons "$dialog" file-dialog
expect_closed_by_manager "$dialog" "^Открыть" file-dialog
grep -q "#MenuItem_FileOpen 0" Paramora.log || x11_fail "closing the file dialog did not cancel File, Open"

printf '\xEF\xBB\xBF\r\n[General]\r\n' >nomodel.pmr
x11_menu 0 Down Return  # File, Open
x11_wait_window "^Открыть" >/dev/null
xdotool type --delay 20 "$PWD/nomodel.pmr"
xdotool key Return
box=$(x11_wait_window "^Ошибка$")
expect_owned_buttons "$box" message
[ "$(declaration "$box")" = "$start_up_box" ] ||
    x11_fail "the warning at start-up differs from a box the Main Window owns: $start_up_box, against $(declaration "$box")"
expect_closed_by_manager "$box" "^Ошибка$" message

x11_end_program
echo "PASS"
