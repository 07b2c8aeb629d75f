#!/usr/bin/env bash
# Numbers typed into the real program's set cells keep their decimals on an English and on a Russian
# desktop alike: 12.5 into P0.0.05 stays 12.50, and 12ю5 into P0.0.11 (ю is where the point is on a
# Russian keyboard) gives 125.0. The saved document holds the values the cells show.
source "$(dirname "$0")/session.sh"
x11_require
locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8' ||
    x11_fail "the locale ru_RU.UTF-8 is missing; tools/install-deps.sh generates it"
x11_start

# Clicks the set cell of a table row (the editor appears there), clicks into the editor, replaces
# its text by typing and confirms with Return.
type_into_row() {
    local row=$1 text=$2
    xdotool mousemove "$SET_X" $((ROW_TOP + row * ROW_HEIGHT + ROW_HEIGHT / 2)) click 1
    x11_wait_still
    xdotool click 1
    x11_wait_still
    xdotool key ctrl+a
    xdotool type --delay 60 "$text"
    x11_wait_still
    x11_screenshot "typed_numbers_${LANG%%.*}_row$row"
    xdotool key Return
    x11_wait_still
}

for desktop in C.UTF-8 ru_RU.UTF-8; do
    rm -f ./*.pmr Paramora.ini Paramora.log
    x11_write_settings
    LANG=$desktop LC_ALL=$desktop x11_start_program
    x11_file_new 0  # Zr12
    x11_table_rows 300 200
    # The columns before the set cell are 22 + 50 + 220 wide.
    SET_X=$((TABLE_LEFT + 22 + 50 + 220 + 40))
    LANG=$desktop type_into_row 5 "12.5"  # P0.0.05, two decimals
    LANG=$desktop type_into_row 11 "12ю5"  # P0.0.11, one decimal
    x11_screenshot "typed_numbers_${desktop%%.*}"

    x11_menu 0 Down Down Return  # File, Save
    x11_wait_until "$desktop: the document was not saved" test -s New_Zr12.pmr
    values=$(tr -d '\r' <New_Zr12.pmr | grep -E '^P0\.0\.(05|11) = ' | tr '\n' ' ')
    [ "$values" = "P0.0.05 = 1250 P0.0.11 = 1250 " ] ||
        x11_fail "$desktop: the saved values are '$values', expected P0.0.05 = 1250 (12.50) and P0.0.11 = 1250 (125.0)"
    x11_end_program
done
echo "PASS"
