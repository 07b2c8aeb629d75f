#!/usr/bin/env bash
# One click on a set cell that sticks out past the table's right edge shows its editor there, and
# the table does not scroll sideways afterwards.
source "$(dirname "$0")/session.sh"
x11_require import convert compare
x11_start
x11_write_settings
sed -i 's/colWidth_Name = 220/colWidth_Name = 560/' Paramora.ini
x11_start_program
x11_file_new 0  # Zr12
x11_table_rows 300 200
set_left=$((TABLE_LEFT + 22 + 50 + 560))
[ $((set_left + 20)) -lt "$TABLE_RIGHT" ] && [ $((set_left + 150)) -gt "$TABLE_RIGHT" ] ||
    x11_fail "the set column is not partly visible (table ${TABLE_LEFT}..${TABLE_RIGHT}, set column at $set_left)"
# Row 5 is P0.0.05, a number field.
row_y=$((ROW_TOP + 5 * ROW_HEIGHT + ROW_HEIGHT / 2))

x11_grab "$X11_DIR/before.png"
xdotool mousemove $((set_left + 10)) "$row_y" click 1
# The click has been handled once its editor, with its frame, covers the visible part of the cell.
editor_shown() {
    import -window root "$X11_DIR/after.png"
    x11_area_differs "$X11_DIR/before.png" "$X11_DIR/after.png" $((TABLE_RIGHT - set_left)) "$ROW_HEIGHT" \
        "$set_left" $((ROW_TOP + 5 * ROW_HEIGHT))
}
wait_for 5 editor_shown || x11_fail "the click showed no editor on the cell"
sleep 1  # Qt's own scroll to a clicked cell came half a second after the click
x11_grab "$X11_DIR/after.png"
x11_screenshot editor_click
# The headers of the first two columns ("√", "Код") stay where they were.
x11_area_differs "$X11_DIR/before.png" "$X11_DIR/after.png" 80 4 "$TABLE_LEFT" $((ROW_TOP - 8)) &&
    x11_fail "the table scrolled sideways"
# The keyboard went with the click to the editor: a value typed now replaces P0.0.05's.
xdotool type 1
xdotool key Return
wait_for 5 x11_document_marked || x11_fail "the typed value did not reach the editor"
grep -q "#EventType_ReturnKey" Paramora.log || x11_fail "the typed value did not reach the editor"
x11_menu 0 Down Down Return  # File, Save
x11_wait_until "the document was not saved" test -s New_Zr12.pmr
tr -d '\r' <New_Zr12.pmr | grep -qx 'P0.0.05 = 100' ||
    x11_fail "P0.0.05 was saved as '$(tr -d '\r' <New_Zr12.pmr | grep '^P0.0.05 = ')', expected 100 (1.00)"
x11_end_program
echo "PASS"
