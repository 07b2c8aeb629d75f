#!/usr/bin/env bash
# The Comm Window's model list logs only a model the user picks: its drop-down opened with a click
# and closed with Escape or a click beside it chooses nothing, and the document's model that the
# program selects again after "Нет" to the change-of-model question is no choice either.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_start_program
x11_file_new 0  # Zr12
x11_menu 1 Return  # Connection, settings
comm=$(x11_wait_window "^Настройки подключения$")
x11_wait_program_windows 2
x11_geometry "$comm"
list_x=$((X + 275)) list_y=$((Y + 50))

model_lines() { grep -a "#Combo_SelectModel" Paramora.log | sed 's/^.* = #Combo/#Combo/' | tr -d '\r' || true; }
# "По умолчанию" logs a line that follows whatever the list did before it.
defaults_line() {
    local count
    count=$(grep -ac "#Button_Default" Paramora.log || true)
    xdotool mousemove $((X + 275)) $((Y + 195)) click 1
    x11_wait_until "\"По умолчанию\" logged nothing" sh -c "[ \$(grep -ac '#Button_Default' Paramora.log) -gt $count ]"
}
open_list() {
    xdotool mousemove "$list_x" "$list_y" click 1
    x11_wait_program_windows 3
}

open_list
x11_screenshot model_list_open
xdotool key Escape
x11_wait_program_windows 2
defaults_line
[ -z "$(model_lines)" ] || x11_fail "a list opened and closed with Escape logged: $(model_lines)"
open_list
sleep 0.5  # a click right after the one that opened it is taken as the end of that one
xdotool mousemove $((X + 100)) $((Y + 300)) click 1  # beside the list, in the window
x11_wait_program_windows 2
defaults_line
[ -z "$(model_lines)" ] || x11_fail "a list opened and closed with a click beside it logged: $(model_lines)"

open_list
xdotool key --delay 50 Down Down Down Down Return  # "ПЧ Tovik Yv20"
question=$(x11_wait_window "^Внимание$")
x11_screenshot model_list_question
x11_activate "$question"
xdotool key Tab space  # from "Да" to "Нет"
x11_wait_gone "^Внимание$"
x11_wait_still
x11_screenshot model_list_after_no
defaults_line
[ "$(model_lines)" = "#Combo_SelectModel - ПЧ Tovik Yv20" ] ||
    x11_fail "the pick and the answer \"Нет\" logged: $(model_lines)"
[ "$(xdotool getwindowname "$MAIN_WINDOW")" = "Paramora - New_Zr12.pmr" ] || x11_fail "the document changed"
x11_end_program
echo "PASS"
