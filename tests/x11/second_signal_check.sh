#!/usr/bin/env bash
# With unsaved edits the first SIGTERM asks the save question; a second one while the question
# stands ends the program at once, exit code 0, saving neither the document nor the settings.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_start_program

title_is() { [ "$(xdotool getwindowname "$MAIN_WINDOW")" = "$1" ]; }

x11_file_new 0  # Zr12
title_is "Paramora - New_Zr12.pmr" || x11_fail "File, New, Zr12 opened $(xdotool getwindowname "$MAIN_WINDOW")"

# An edit of P0.0.05 (row 5, set-value column, at the default size and font): a click shows the
# cell's editor, a second one puts the caret in it, then the value is typed.
xdotool mousemove --window "$MAIN_WINDOW" 600 148 click 1
sleep 0.3
xdotool mousemove --window "$MAIN_WINDOW" 600 148 click 1
sleep 0.3
xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type 45
xdotool key Return
x11_wait_until "the edit did not mark the document modified" title_is "Paramora - *New_Zr12.pmr"
x11_screenshot modified

cp Paramora.ini settings.before
x11_signal_program TERM
x11_wait_window "Внимание" >/dev/null || x11_fail "the first SIGTERM asked no save question"
x11_screenshot question
x11_signal_program TERM
x11_wait_exit
[ "$PARAMORA_EXIT" = 0 ] || x11_fail "exit code $PARAMORA_EXIT"
cmp -s Paramora.ini settings.before || x11_fail "the settings file was written"
[ -z "$(ls ./*.pmr 2>/dev/null)" ] || x11_fail "a document was saved"
echo "PASS"
