#!/usr/bin/env bash
# A double click on a row's check box under "Отмеченные параметры" unticks that row alone: the first
# click refills the table, and the second must not untick the row that moved up under the cursor.
source "$(dirname "$0")/session.sh"
x11_require import convert compare
x11_start
x11_start_program
x11_file_new 0  # Zr12
x11_table_rows 400 200
box_x=$((TABLE_LEFT + 11))
for row in 0 1 2; do  # P0.0.00 to P0.0.02
    xdotool mousemove "$box_x" $((ROW_TOP + row * ROW_HEIGHT + ROW_HEIGHT / 2)) click 1
done
x11_geometry "$MAIN_WINDOW"
x11_click_for_keys $((X + 100)) $((Y + 150))
xdotool key Home Down  # "Измененные параметры", then "Отмеченные параметры"
x11_wait_until "the tree did not select the ticked parameters" grep -q "#Tree_Parameters = #Check" Paramora.log
x11_wait_still
shown_before=$(grep -c "#Tree_Parameters = #Check" Paramora.log)

xdotool mousemove "$box_x" $((ROW_TOP + ROW_HEIGHT / 2)) click --repeat 2 --delay 80 1
# Everything the double click did is in the log before the Comm Window's menu line.
x11_menu 1 Return  # Connection, settings
comm=$(x11_wait_window "^Настройки подключения$")
x11_screenshot check_box_double_click
wmctrl -i -c "$comm"
refills=$(sed -n '/#MenuItem_Communication/q;p' Paramora.log | grep -c "#Tree_Parameters = #Check")
[ $((refills - shown_before)) = 1 ] ||
    x11_fail "the double click refilled the table $((refills - shown_before)) times instead of once"
x11_end_program
echo "PASS"
