#!/usr/bin/env bash
# The keyboard comes back to the table when a window the Main Window owns closes: after OK in a
# value editor window, after "Закрыть" in the About Window and after the Comm Window's close box,
# the Down key moves the table's current row.
source "$(dirname "$0")/session.sh"
x11_require import convert compare
x11_start
x11_start_program
x11_file_new 0  # Zr12

# Sets w, h, x, y to the box the screen changed in since keys0.png; true if it did.
screen_changed_since_keys0() {
    x11_grab "$X11_DIR/keys1.png"
    read -r w h x y < <(x11_changed_area "$X11_DIR/keys0.png" "$X11_DIR/keys1.png" 2>/dev/null)
    [ "$w" -gt 0 ]
}

# Down moves the current row: the screen changes inside the table, right of the tree.
expect_down_moves_table() {
    x11_geometry "$MAIN_WINDOW"
    x11_grab "$X11_DIR/keys0.png"
    xdotool key Down
    wait_for 5 screen_changed_since_keys0 || true
    x11_screenshot "keys-$1"
    [ "$w" -gt 0 ] || x11_fail "after $1, the Down key changed nothing on the screen"
    [ "$x" -ge $((X + 250)) ] || x11_fail "after $1, the Down key moved something left of the table (at x $x)"
}

x11_open_value_editor
x11_geometry "$EDITOR"
# OK sits at the bottom left; its place depends on which of the three editor windows this is.
case "$HEIGHT" in
    355) ok="115 327" ;;  # digits to decimal
    300) ok="115 272" ;;  # digits to hexadecimal
    395) ok="90 372" ;;   # bits
    *) x11_fail "a value editor window of unknown height $HEIGHT" ;;
esac
read -r ok_x ok_y <<<"$ok"
xdotool mousemove $((X + ok_x)) $((Y + ok_y)) click 1
x11_wait_gone "^P3\.2\.[0-9]+ - "
expect_down_moves_table "OK in a value editor"

x11_menu 2 Down Down Return  # Help, About
about=$(x11_wait_window "^О программе$")
x11_geometry "$about"
xdotool mousemove $((X + 215)) $((Y + 165)) click 1  # "Закрыть"
x11_wait_gone "^О программе$"
expect_down_moves_table "closing About"

x11_menu 1 Return  # Connection, settings
comm=$(x11_wait_window "^Настройки подключения$")
wmctrl -i -c "$comm"
x11_wait_gone "^Настройки подключения$"
expect_down_moves_table "closing the Comm Window"

x11_end_program
echo "PASS"
