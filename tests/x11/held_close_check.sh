#!/usr/bin/env bash
# The window manager's close takes its turn behind the input given before it: a click on
# "Группа P0", a click on P0.0.05's set cell, "12.34" and Return, then the close box's request set
# the value, mark the document and ask the save question, whose "Да" saves 12.34 before the program
# ends; the same on the idle program, the stopped one and one busy reading all.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/busy_program.sh"
x11_require
x11_start

type_then_close() {
    x11_click_set_cell_of_p0 5
    xdotool type --delay 60 "12.34"
    xdotool key Return
    x11_step
    wmctrl -i -c "$MAIN_WINDOW"
}

asked_or_ended() { xdotool search --onlyvisible --name "^Внимание$" >/dev/null 2>&1 || own_ended program; }

for state in "${x11_give_states[@]}"; do
    rm -f ./*.pmr Paramora.ini Paramora.log
    x11_start_connected_program
    x11_give_input "$state" type_then_close
    x11_wait_until "$state: the program neither asked the save question nor ended" asked_or_ended
    question=$(xdotool search --all --onlyvisible --pid "$PARAMORA_PID" --name "^Внимание$" 2>/dev/null | head -n1 || true)
    [ -n "$question" ] || x11_fail "$state: the program ended without asking the save question"
    x11_screenshot "held_close_${state}_question"
    x11_activate "$question"
    xdotool key space  # "Да"
    x11_wait_exit
    [ "$PARAMORA_EXIT" = 0 ] || x11_fail "$state: exit code $PARAMORA_EXIT"
    saved=$(cat ./*.pmr 2>/dev/null | tr -d '\r' | grep -E '^P0\.0\.05 = ' || true)
    [ "$saved" = "P0.0.05 = 1234" ] || x11_fail "$state: the saved document holds '$saved', not P0.0.05 = 1234"
done
echo "PASS"
