#!/usr/bin/env bash
# Input given while the program is busy acts afterwards in the order it was given, each piece
# meeting the windows as it would have live (the table showing the rows a tree click put in), the
# wheel as the mouse: a click on "Группа P0" in the tree, two notches of the wheel over the table
# and a click on the table leave P0 scrolled by two notches with the row under the pointer
# selected; a click on P4.1 in the tree, a click on the table's row P4.1.05 and Down make P4.1.06
# the current row. Each is given to the idle program, to the stopped one and during a read all from
# a slow device, and leaves the table the same (the code column, which a read does not colour, is
# compared).
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/busy_program.sh"
x11_require import convert compare
x11_start
x11_start_connected_program

wheel_then_click() {
    xdotool mousemove $((X + 128)) $((Y + 73)) click 1  # "Группа P0"
    x11_step
    xdotool mousemove $((X + 569)) $((Y + 258)) click 5
    x11_step
    xdotool click 5
    x11_step
    xdotool mousemove $((X + 400)) $((Y + 258)) click 1
}
click_then_down() {
    xdotool mousemove $((X + 131)) $((Y + 279)) click 1  # P4.1
    x11_step
    xdotool mousemove $((X + 400)) $((Y + 143)) click 1  # P4.1.05
    x11_step
    xdotool key Down
}

for input in "wheel_then_click Группа P0" "click_then_down P4.1 "; do
    read -r given tree_item <<<"$input"
    for state in "${x11_give_states[@]}"; do
        before=$(grep -ac "#Tree_Parameters = $tree_item" Paramora.log || true)
        x11_give_input "$state" "$given"
        x11_wait_until "$given, $state: the tree did not show $tree_item" \
            bash -c "[ \$(grep -ac '#Tree_Parameters = $tree_item' Paramora.log) -gt $before ]"
        x11_wait_still
        x11_screenshot "input_during_exchange_${given}_$state"
        x11_grab "$X11_DIR/screen.png"
        convert "$X11_DIR/screen.png" -crop "46x466+$((X + 273))+$((Y + 45))" +repage "$X11_DIR/$state.png"
        [ "$state" = idle ] || [ "$(compare -metric AE "$X11_DIR/idle.png" "$X11_DIR/$state.png" null: 2>&1)" = 0 ] ||
            x11_fail "$given, $state: the input left the table otherwise than on the idle program"
    done
done
x11_end_program
echo "PASS"
