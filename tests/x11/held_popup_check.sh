#!/usr/bin/env bash
# Held input reaches the drop-down a held click or key opened, as it would have live: after a click
# on "Группа P0" and one on P0.0.00's set cell (a list), a click on the list's arrow, Down and
# Return pick the next entry; so do Alt+Down, Down and Return, and a double click on the cell, "2"
# and Return. The list logs its focus and the pick, and its cell shows the same on the idle
# program, the stopped one and one busy reading all.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/busy_program.sh"
x11_require import convert compare
x11_start
x11_start_connected_program

open_list() { x11_click_set_cell_of_p0 0; }
by_arrow() {
    open_list
    xdotool mousemove $((X + 684)) $((Y + 53)) click 1
    x11_step
    xdotool key Down
    x11_step
    xdotool key Return
}
by_keys() {
    open_list
    xdotool key alt+Down
    x11_step
    xdotool key Down
    x11_step
    xdotool key Return
}
by_keys_up() {
    open_list
    xdotool key alt+Down
    x11_step
    xdotool key Up
    x11_step
    xdotool key Return
}
by_double_click() {
    xdotool mousemove $((X + 128)) $((Y + 73)) click 1  # "Группа P0"
    x11_step
    xdotool mousemove $((X + 582)) $((Y + 53)) click --repeat 2 --delay 80 1
    x11_step
    xdotool key 2
    x11_step
    xdotool key Return
}

for way in by_arrow by_keys by_double_click; do
    for state in "${x11_give_states[@]}"; do
        start=$(wc -c <Paramora.log)
        x11_give_input "$state" "$way"
        x11_wait_until "$way, $state: the list logged no pick" \
            sh -c "tail -c +$((start + 1)) Paramora.log | grep -aq '#EventType_Change'"
        sleep 0.5  # what the drop-down's closing raises comes after the pick
        x11_wait_still
        x11_screenshot "held_popup_${way}_$state"
        lines=$(tail -c +$((start + 1)) Paramora.log | grep -ao "#EventType_[A-Za-z]*" | tr '\n' ' ' || true)
        [ "$lines" = "#EventType_Focus #EventType_Change " ] || x11_fail "$way, $state: the list logged $lines"
        x11_program_windows_come_to 1 || x11_fail "$way, $state: the drop-down stayed open"
        x11_grab "$X11_DIR/screen.png"
        convert "$X11_DIR/screen.png" -crop "150x18+$((X + 542))+$((Y + 44))" +repage "$X11_DIR/$state.png"
        [ "$state" = idle ] || [ "$(compare -metric AE "$X11_DIR/idle.png" "$X11_DIR/$state.png" null: 2>&1)" = 0 ] ||
            x11_fail "$way, $state: the list's cell shows otherwise than on the idle program"
        # Back to the first entry for the next way.
        start=$(wc -c <Paramora.log)
        X11_GIVE_STATE=idle by_keys_up
        x11_wait_until "the list did not go back to its first entry" \
            sh -c "tail -c +$((start + 1)) Paramora.log | grep -aq '#EventType_Change'"
    done
done
x11_end_program
echo "PASS"
