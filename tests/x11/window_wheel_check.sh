#!/usr/bin/env bash
# A wheel turn over a drop-down list or a spinner of a window changes no value and no setting:
# neither in a value editor window (OK afterwards stores what the window opened with) nor in the
# Comm Window (no other model, no port rescan, the same baud, address and attempts).
source "$(dirname "$0")/session.sh"
x11_require import convert compare
x11_start
x11_start_program

# Each notch is handled before the next event of the same session: a key or a click sent after
# the notches shows when they have all been handled.
notch() { xdotool mousemove "$1" "$2" click "$3"; }

# --- A value editor window: the Digit To Dec window of P2.1.00 (Zr12).
x11_file_new 0  # Zr12
x11_geometry "$MAIN_WINDOW"
x11_click_for_keys $((X + 100)) $((Y + 150))
xdotool type --delay 50 "P2.1"
x11_wait_until "the tree did not select P2.1" grep -q "#Tree_Parameters = P2.1 " Paramora.log
x11_table_rows 400 200
# Row 0 is P2.1.00, a five-digit field; the columns before the set cell are 22 + 50 + 220 wide.
set_x=$((TABLE_LEFT + 22 + 50 + 220 + 40))
row_y=$((ROW_TOP + ROW_HEIGHT / 2))
xdotool mousemove $((TABLE_LEFT + 40)) "$row_y" click 1
x11_grab "$X11_DIR/row-before.png"
xdotool mousemove "$set_x" "$row_y" click --repeat 2 --delay 80 1
editor=$(x11_wait_window "^P2\.1\.00 - ")
x11_activate "$editor"
x11_geometry "$editor"
for row in 0 1 2 3 4; do
    notch $((X + 200)) $((Y + 30 + 55 * row + 11)) 5
done
x11_screenshot window_wheel_digits
xdotool mousemove $((X + 115)) $((Y + 327)) click 1  # OK
x11_wait_gone "^P2\.1\.00 - "
# The keyboard is back in the table, which frames its current cell: the same cell as before.
xdotool mousemove $((TABLE_LEFT + 40)) "$row_y" click 1
x11_wait_still
x11_grab "$X11_DIR/row-after.png"
# The name cell (its colour) and the set cell (its text), inside the frame that marks the current cell.
for cell in "$((22 + 50)) 220" "$((22 + 50 + 220)) 150"; do
    read -r left width <<<"$cell"
    x11_area_differs "$X11_DIR/row-before.png" "$X11_DIR/row-after.png" $((width - 6)) $((ROW_HEIGHT - 6)) \
        $((TABLE_LEFT + left + 3)) $((ROW_TOP + 3)) && x11_fail "the wheel changed P2.1.00 in its value editor window"
done

# --- The Comm Window, with a Yv32 document open.
x11_file_new 5  # Yv32
x11_menu 1 Return  # Connection, settings
comm=$(x11_wait_window "^Настройки подключения$")
x11_geometry "$comm"
# The keyboard stays in the timeout field throughout; the key typed there at the end is the sign.
xdotool mousemove $((X + 255)) $((Y + 235)) click 1
x11_wait_still
x11_grab "$X11_DIR/comm-before.png"
log_lines=$(wc -l <Paramora.log)
for list_y in 50 80 110 140 170; do  # port, baud, data bits, stop bits, parity
    notch $((X + 143)) $((Y + list_y)) 5
done
notch $((X + 275)) $((Y + 110)) 4  # Modbus address
notch $((X + 255)) $((Y + 265)) 4  # attempts
notch $((X + 278)) $((Y + 50)) 5   # model
xdotool mousemove $((X + 255)) $((Y + 235)) key End 7
timeout_box=(60 20 $((X + 225)) $((Y + 225)))
field_typed() {
    x11_grab "$X11_DIR/comm-after.png"
    x11_area_differs "$X11_DIR/comm-before.png" "$X11_DIR/comm-after.png" "${timeout_box[@]}"
}
x11_wait_until "the key typed after the wheel did not reach the timeout field" field_typed
x11_screenshot window_wheel_comm
xdotool search --onlyvisible --name "^Внимание$" >/dev/null 2>&1 && x11_fail "the wheel chose another model"
tail -n +$((log_lines + 1)) Paramora.log | grep -q "#Combo_SelectCOM:" && x11_fail "the wheel chose a port entry"
# Everything but the timeout field looks as before.
read -r w h x y < <(x11_changed_area "$X11_DIR/comm-before.png" "$X11_DIR/comm-after.png")
[ "$x" -ge $((X + 225)) ] && [ $((x + w)) -le $((X + 285)) ] && [ "$y" -ge $((Y + 225)) ] &&
    [ $((y + h)) -le $((Y + 245)) ] || x11_fail "the wheel changed the Comm Window (${w}x${h} at $((x - X)),$((y - Y)))"
x11_end_program
echo "PASS"
