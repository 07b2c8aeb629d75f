#!/usr/bin/env bash
# Input given during a long exchange acts afterwards in the order it was given, the wheel as the
# mouse: during a read all from a slow device, a click on "Группа P0" in the tree, two notches of
# the wheel over the table and a click on the table leave the table showing P0 scrolled by two
# notches with the row under the pointer selected, exactly as the same input does to the idle
# program (the code column, which a read does not colour, is compared).
source "$(dirname "$0")/session.sh"
PARAMORA_BINARY=${PARAMORA_WITH_DEVICE:-}
x11_require import convert compare
export PARAMORA_DEVICE_DELAY_MS=50
x11_start
x11_start_program

x11_connect_only_port

x11_geometry "$MAIN_WINDOW"
tree_lines() { grep -ac "#Tree_Parameters = Группа $1" Paramora.log || true; }
requests() { grep -ac "Запрос" Paramora.log || true; }
# "Группа P2" in the tree, the table scrolled to its top (a refill keeps where it was scrolled).
show_p2() {
    local before
    before=$(tree_lines P2)
    xdotool mousemove $((X + 569)) $((Y + 258)) click --repeat 10 4
    xdotool mousemove $((X + 128)) $((Y + 150)) click 1
    x11_wait_until "the tree did not show P2" bash -c "[ \$(grep -ac '#Tree_Parameters = Группа P2' Paramora.log) -gt $before ]"
    x11_wait_still
}
give_input() {
    xdotool mousemove $((X + 128)) $((Y + 73)) click 1  # "Группа P0"
    xdotool mousemove $((X + 569)) $((Y + 258)) click 5 click 5
    xdotool mousemove $((X + 400)) $((Y + 258)) click 1
}
# The code column of the table's rows on screen, once the input has acted.
code_column() {
    x11_wait_until "the tree did not show P0" bash -c "[ \$(grep -ac '#Tree_Parameters = Группа P0' Paramora.log) -ge $1 ]"
    x11_wait_still
    x11_grab "$X11_DIR/screen.png"
    convert "$X11_DIR/screen.png" -crop "46x466+$((X + 273))+$((Y + 45))" +repage "$X11_DIR/$2.png"
}

show_p2
give_input
code_column 1 idle

show_p2
xdotool mousemove $((X + 73)) $((Y + 555)) click 1  # "Прочитать"
x11_wait_until "the read did not start" bash -c "[ \$(grep -ac 'Запрос' Paramora.log) -gt 1 ]"
give_input
given_at=$(requests)
code_column 2 busy
x11_screenshot input_during_exchange
[ "$(requests)" -gt "$given_at" ] || x11_fail "the read was over before the input was given: no check made"
[ "$(compare -metric AE "$X11_DIR/idle.png" "$X11_DIR/busy.png" null: 2>&1)" = 0 ] ||
    x11_fail "the input given during the read left the table otherwise than on the idle program"
x11_end_program
echo "PASS"
