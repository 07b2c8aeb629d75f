#!/usr/bin/env bash
# On a full disk (every write past 0 bytes refused), File, Сохранить shows its error box; while the
# box is up no temporary file of the save stands in the folder, and none is left when the program
# is ended right there. The file saved before stays as it was.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_write_settings
sed -i 's/^logOut = 1/logOut = 0/' Paramora.ini
printf '\xEF\xBB\xBF[General]\r\nModel = ПЧ Tovik Zr12\r\n' >doc.pmr
cp doc.pmr "$X11_DIR/before.pmr"
# The signal a write past the limit raises is ignored, so that writes fail as on a full disk.
x11_run_program bash -c 'trap "" XFSZ; ulimit -f 0; exec env LANG=ru_RU.UTF-8 "$1"' program "$PARAMORA_BINARY"
MAIN_WINDOW=$(x11_wait_window "Paramora")

x11_file_open "$PWD/doc.pmr"
x11_menu 0 Down Down Return  # File, Save
x11_wait_window "Ошибка" >/dev/null || x11_fail "no error box for the failed save"
x11_screenshot full_disk_error_box
temporaries() { find . -name '.paramora-*' | tr '\n' ' '; }
[ -z "$(temporaries)" ] || x11_fail "temporary files stand while the box is up: $(temporaries)"
x11_signal_program KILL
x11_wait_exit
[ -z "$(temporaries)" ] || x11_fail "temporary files left behind: $(temporaries)"
cmp -s doc.pmr "$X11_DIR/before.pmr" || x11_fail "doc.pmr changed"
echo "PASS"
