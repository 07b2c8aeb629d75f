#!/usr/bin/env bash
# A wheel turn over the drop-down list shown on a set cell scrolls the table and leaves the value
# and the document as they were; the list still takes a value the user picks from it.
source "$(dirname "$0")/session.sh"
x11_require import convert compare
x11_start
x11_start_program
x11_file_new 0  # Zr12
x11_table_rows 400 200
# Row 6 is P0.0.06 "Направление хода", a choice; the columns before the set cell are 22 + 50 + 220 wide.
set_x=$((TABLE_LEFT + 22 + 50 + 220 + 40))
row_y=$((ROW_TOP + 6 * ROW_HEIGHT + ROW_HEIGHT / 2))

xdotool mousemove "$set_x" "$row_y" click 1
x11_grab "$X11_DIR/before-wheel.png"
xdotool click 5
# The table scrolls: the codes of its first rows are other ones. Only then is the rest worth checking.
codes_moved() {
    import -window root "$X11_DIR/after-wheel.png"
    x11_area_differs "$X11_DIR/before-wheel.png" "$X11_DIR/after-wheel.png" 44 $((3 * ROW_HEIGHT)) \
        $((TABLE_LEFT + 24)) "$ROW_TOP"
}
wait_for 2 codes_moved || x11_fail "the wheel over the list did not scroll the table"
x11_screenshot editor_wheel
x11_document_marked && x11_fail "the wheel modified the document"
grep -q "#EventType_Change" Paramora.log && x11_fail "the wheel changed the value"

# With the table scrolled back, the same cell shows the list again, and a pick changes the value:
# the click above did land on that list.
xdotool click 4 click 1
x11_wait_still
xdotool click 1
x11_wait_still
xdotool key Down Return
wait_for 5 x11_document_marked || true
grep -q "#EventType_Change" Paramora.log || x11_fail "no drop-down list was shown at the set cell of P0.0.06"
x11_end_program
echo "PASS"
