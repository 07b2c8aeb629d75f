#!/usr/bin/env bash
# Input given while the program is busy (here: stopped) is handled one command at a time, each
# meeting the windows as the command before it left them: a key for the tree after "О программе"
# goes nowhere while the About Window holds the input, and a click on "По умолчанию" after the
# Comm Window's close box does nothing. The end of the session still ends the program while a
# window it owns holds the input.
source "$(dirname "$0")/session.sh"
x11_require import convert compare
x11_start
x11_start_program
x11_file_new 0  # Zr12

tree_lines() { grep -a "#Tree_Parameters" Paramora.log | sed 's/^.* = #Tree/#Tree/' | tr -d '\r'; }

x11_geometry "$MAIN_WINDOW"
xdotool mousemove $((X + 100)) $((Y + 150)) click 1
xdotool key Home  # "Измененные параметры"
x11_wait_until "the tree did not select the changed parameters" \
    sh -c 'grep -aq "#Tree_Parameters = #Changed" Paramora.log'
x11_wait_still
before=$(tree_lines | wc -l)

x11_signal_program STOP
xdotool key alt
xdotool key --delay 50 Right Right Down Down Down Return  # Help, About
xdotool key Down  # meant for the tree
x11_signal_program CONT
about=$(x11_wait_window "^О программе$")
x11_wait_still
x11_screenshot held_input_about
[ "$(tree_lines | wc -l)" = "$before" ] || x11_fail "a key for the tree acted while the About Window held the input"
wmctrl -i -c "$about"
x11_wait_gone "^О программе$"
xdotool key Down
x11_wait_until "the tree did not take the key after the About Window closed" \
    sh -c "[ \$(grep -ac '#Tree_Parameters' Paramora.log) -gt $before ]"
[ "$(tree_lines | tail -n1)" = "#Tree_Parameters = #Check" ] ||
    x11_fail "the tree did not go on from where it was: $(tree_lines | tail -n1)"

x11_menu 1 Return  # Connection, settings
comm=$(x11_wait_window "^Настройки подключения$")
x11_wait_still
x11_geometry "$comm"
x11_signal_program STOP
wmctrl -i -c "$comm"
x11_wm_sync  # the close request is on its way to the program before the click
xdotool mousemove $((X + 275)) $((Y + 195)) click 1  # "По умолчанию"
x11_signal_program CONT
x11_wait_gone "^Настройки подключения$"
x11_menu 1 Down Return  # Connection, Monitor: its line follows whatever the click did
x11_wait_until "the Monitor Window did not open" sh -c 'grep -aq "#MenuItem_Monitor" Paramora.log'
grep -aq "#Button_Default" Paramora.log && x11_fail "a click on a closed Comm Window acted"

x11_menu 1 Return
x11_wait_window "^Настройки подключения$" >/dev/null
x11_end_program
echo "PASS"
