#!/usr/bin/env bash
# Windows the Main Window owns carry no minimise or maximise box: minimising one would take the
# Main Window with it, and on a desktop without a taskbar the program could not be brought back.
# The window manager's allowed actions of each window say what its title bar offers; the Main
# Window keeps both boxes.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_start_program

# $1 window, $2 what it is: the window manager allows the window neither minimising nor maximising.
expect_no_min_max() {
    local actions
    actions=" $(x11_allowed_actions "$1") "
    [[ "$actions" == *" MOVE "* ]] || x11_fail "$2 is not managed by the window manager (actions:$actions)"
    [[ "$actions" == *" MINIMIZE "* ]] && x11_fail "$2 can be minimised"
    [[ "$actions" == *" MAXIMIZE_"* ]] && x11_fail "$2 can be maximised"
    x11_screenshot "buttons-$2"
    return 0
}

actions=" $(x11_allowed_actions "$MAIN_WINDOW") "
[[ "$actions" == *" MINIMIZE "* && "$actions" == *" MAXIMIZE_VERT "* ]] ||
    x11_fail "the Main Window lost its minimise or maximise box (actions:$actions)"

x11_menu 1 Down Return  # Connection, Monitor
monitor=$(x11_wait_window "^Монитор$")
expect_no_min_max "$monitor" monitor
wmctrl -i -c "$monitor"
x11_wait_gone "^Монитор$"

x11_menu 2 Down Down Return  # Help, About
about=$(x11_wait_window "^О программе$")
expect_no_min_max "$about" about
wmctrl -i -c "$about"
x11_wait_gone "^О программе$"

x11_menu 1 Return  # Connection, settings
comm=$(x11_wait_window "^Настройки подключения$")
expect_no_min_max "$comm" comm
wmctrl -i -c "$comm"
x11_wait_gone "^Настройки подключения$"

# The Wait Window is on the screen only while File, New loads: the window manager's allowed
# actions stay on it once it is hidden again.
x11_file_new 0  # Zr12
wait_window=$(xdotool search --name "^Загрузка параметров" | head -n1)
[ -n "$wait_window" ] || x11_fail "no Wait Window"
expect_no_min_max "$wait_window" wait

x11_open_value_editor
expect_no_min_max "$EDITOR" editor
wmctrl -i -c "$EDITOR"
x11_wait_gone "^P3\.2\.[0-9]+ - "

# Qt's own dialogs belong to the Main Window in the same way.
printf '\xEF\xBB\xBF\r\n[General]\r\n' >nomodel.pmr
x11_menu 0 Down Return  # File, Open
dialog=$(x11_wait_window "^Открыть")
expect_no_min_max "$dialog" file-dialog
xdotool type --delay 20 "$PWD/nomodel.pmr"
xdotool key Return
box=$(x11_wait_window "^Ошибка$")
expect_no_min_max "$box" message
xdotool key Return
x11_wait_gone "^Ошибка$"

x11_end_program
echo "PASS"
