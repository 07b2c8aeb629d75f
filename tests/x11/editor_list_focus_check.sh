#!/usr/bin/env bash
# An in-place drop-down list logs its focus once, when the click on its set cell gives it the
# keyboard: its drop-down opened by a click or by Alt+Down and closed by Escape, a dialog that has
# the keyboard meanwhile, or the drop-down closed by a pick adds no focus line; the pick adds its
# change line.
source "$(dirname "$0")/session.sh"
x11_require
x11_start

drop_down_shown() { x11_wait_program_windows 2; }
drop_down_gone() { x11_wait_program_windows 1; }

x11_write_settings
x11_start_program
# Model position in File, New and name; the list's table row. Each pick takes the entry shown, so
# the document stays unmodified and the next File, New asks nothing.
for model in "0 Zr12 0 P0.0.00" "5 Yv32 2 P00.02"; do
    read -r position name row code <<<"$model"
    x11_file_new "$position"
    x11_wait_until "File, New did not open $name" sh -c "xdotool getwindowname $MAIN_WINDOW | grep -q New_$name"
    [ -n "${ROW_TOP:-}" ] || x11_table_rows 300 200
    set_x=$((TABLE_LEFT + 22 + 50 + 220 + 40))
    row_y=$((ROW_TOP + row * ROW_HEIGHT + ROW_HEIGHT / 2))
    start=$(wc -c <Paramora.log)
    lines_since_start() { tail -c +$((start + 1)) Paramora.log | grep -ao "#EventType_[A-Za-z]*" | tr '\n' ' ' || true; }

    xdotool mousemove "$set_x" "$row_y" click 1
    x11_wait_until "$code: the click gave its list no focus" sh -c "tail -c +$((start + 1)) Paramora.log | grep -q EventType_Focus"
    sleep 0.5  # a second click this soon would be a double click
    xdotool click 1
    drop_down_shown
    x11_screenshot "editor_list_${code}_open"
    xdotool key Escape
    drop_down_gone
    xdotool key alt+Down
    drop_down_shown
    xdotool key Escape
    drop_down_gone
    x11_menu 2 Down Down Return  # Help, About: the dialog has the keyboard until it closes
    about=$(x11_wait_window "^О программе$")
    wmctrl -i -c "$about"
    x11_wait_gone "^О программе$"
    xdotool click 1
    drop_down_shown
    xdotool key Return
    drop_down_gone
    x11_wait_until "$code: the pick logged no change" sh -c "tail -c +$((start + 1)) Paramora.log | grep -q EventType_Change"
    sleep 0.5  # what the drop-down's closing raises comes before the change
    x11_screenshot "editor_list_${code}_picked"
    [ "$(lines_since_start)" = "#EventType_Focus #EventType_Change " ] ||
        x11_fail "$code: the list logged $(lines_since_start)"
done
x11_end_program
echo "PASS"
