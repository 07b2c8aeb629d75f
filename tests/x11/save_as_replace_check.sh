#!/usr/bin/env bash
# Save as onto a name whose file exists once ".pmr" is added asks first, in the real program's own
# Yes/No box; "Нет" leaves the file byte for byte, the document's name and the settings as they were.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_write_settings
printf "another document's parameters\r\n" >mydoc.pmr
cp mydoc.pmr "$X11_DIR/expected.pmr"
cp Paramora.ini "$X11_DIR/expected.ini"
x11_start_program

x11_file_new 0  # Zr12

x11_menu 0 Down Down Down Return  # File, Save as
x11_wait_window "Сохранить файл конфигурации" >/dev/null
xdotool key ctrl+a
xdotool type --delay 20 mydoc
xdotool key Return
x11_wait_window "Внимание" >/dev/null || x11_fail "no question before mydoc.pmr was replaced"
x11_screenshot save_as_replace_question
cmp -s mydoc.pmr "$X11_DIR/expected.pmr" || x11_fail "mydoc.pmr changed before the answer"
xdotool key Tab space  # from "Да" to "Нет"
x11_wait_gone "Внимание"
x11_wait_program_windows 1

cmp -s mydoc.pmr "$X11_DIR/expected.pmr" || x11_fail "mydoc.pmr was replaced after answering Нет"
cmp -s Paramora.ini "$X11_DIR/expected.ini" || x11_fail "the settings file changed after answering Нет"
[ "$(xdotool getwindowname "$MAIN_WINDOW")" = "Paramora - New_Zr12.pmr" ] || x11_fail "the document was renamed"
[ "$(LC_ALL=C ls -A | tr '\n' ' ')" = "Paramora.ini Paramora.log mydoc.pmr " ] ||
    x11_fail "unexpected files: $(ls -A | tr '\n' ' ')"
x11_signal_program TERM
x11_wait_exit
[ "$PARAMORA_EXIT" = 0 ] || x11_fail "exit code $PARAMORA_EXIT"
echo "PASS"
