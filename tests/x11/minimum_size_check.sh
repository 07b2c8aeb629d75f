#!/usr/bin/env bash
# The Main Window cannot be dragged smaller than 800 x 600, frame and title bar included.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_start_program

# Drag the frame's bottom-right corner far up and to the left.
read -r left right top bottom <<<"$(x11_frame "$MAIN_WINDOW")"
x11_geometry "$MAIN_WINDOW"
xdotool mousemove $((X + WIDTH + right - 1)) $((Y + HEIGHT + bottom - 1)) mousedown 1
xdotool mousemove --sync $((X + 200)) $((Y + 150))
xdotool mousemove --sync $((X + 100)) $((Y + 100)) mouseup 1
size_changed() { [ "$(x11_outer_size "$MAIN_WINDOW")" != "$1" ]; }
wait_for 5 size_changed "$((WIDTH + left + right))x$((HEIGHT + top + bottom))" || true
x11_screenshot minimum-size
size=$(x11_outer_size "$MAIN_WINDOW")
[ "$size" = "800x600" ] || x11_fail "dragged to the smallest size, the window measures $size with its frame"

x11_end_program
echo "PASS"
