#!/usr/bin/env bash
# Numbers typed into the real program's set cells replace the values shown and keep their decimals,
# on an English and on a Russian desktop alike. One click shows a cell's field with the keyboard and
# its whole text selected: "12" into P0.0.05 (50.00) gives 12.00, "7" into P0.0.11 (0.0) gives 7.0,
# and 12ю5 into P0.0.12 gives 125.0 (ю, where the point is on a Russian keyboard, is dropped). A
# second click into the field places the caret: "1" typed at the start of P0.0.11's 7.0 gives 17.0.
# The saved document holds the values the cells show.
source "$(dirname "$0")/session.sh"
x11_require
locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8' ||
    x11_fail "the locale ru_RU.UTF-8 is missing; tools/install-deps.sh generates it"
x11_start

# Clicks the set cell of a table row (its field appears there with the keyboard), types with no
# other key and confirms with Return. With a caret place, a second click first puts the caret at the
# field's left edge. The input keeps its order, so only the field's showing is waited for.
type_into_row() {
    local row=$1 text=$2 caret=${3:-}
    local row_y=$((ROW_TOP + row * ROW_HEIGHT + ROW_HEIGHT / 2))
    xdotool mousemove "$SET_X" "$row_y" click 1
    x11_wait_still
    if [ -n "$caret" ]; then
        sleep 0.5  # a second click this soon would be a double click
        xdotool mousemove "$SET_LEFT" "$row_y" click 1
    fi
    xdotool type --delay 60 "$text"
    if [ -n "${PARAMORA_X11_SHOTS:-}" ]; then
        x11_wait_still
        x11_screenshot "typed_numbers_${LANG%%.*}_row$row${caret:+_caret}"
    fi
    xdotool key Return
}

for desktop in C.UTF-8 ru_RU.UTF-8; do
    rm -f ./*.pmr Paramora.ini Paramora.log
    x11_write_settings
    LANG=$desktop LC_ALL=$desktop x11_start_program
    x11_file_new 0  # Zr12
    x11_table_rows 300 200
    # The columns before the set cell are 22 + 50 + 220 wide; the field's text starts a few pixels in.
    SET_LEFT=$((TABLE_LEFT + 22 + 50 + 220 + 2))
    SET_X=$((SET_LEFT + 40))
    LANG=$desktop type_into_row 5 "12"  # P0.0.05, two decimals
    LANG=$desktop type_into_row 11 "7"  # P0.0.11, one decimal
    LANG=$desktop type_into_row 12 "12ю5"  # P0.0.12, one decimal
    LANG=$desktop type_into_row 11 "1" caret
    x11_wait_still
    x11_screenshot "typed_numbers_${desktop%%.*}"

    x11_menu 0 Down Down Return  # File, Save
    x11_wait_until "$desktop: the document was not saved" test -s New_Zr12.pmr
    values=$(tr -d '\r' <New_Zr12.pmr | grep -E '^P0\.0\.(05|11|12) = ' | tr '\n' ' ')
    [ "$values" = "P0.0.05 = 1200 P0.0.11 = 170 P0.0.12 = 1250 " ] ||
        x11_fail "$desktop: the saved values are '$values', expected P0.0.05 = 1200 (12.00), P0.0.11 = 170 (17.0) and P0.0.12 = 1250 (125.0)"
    x11_end_program
done
echo "PASS"
