#!/usr/bin/env bash
# The Comm Window opens centred on the Main Window where the Main Window finally stands, normal or
# maximised, and so never covers the Main Window's title bar.
source "$(dirname "$0")/session.sh"
x11_require
x11_start

# Sets CX, CY (centre) and TOP of a window's outer rectangle, frame and title bar included.
outer_centre() {
    local l r t b
    x11_geometry "$1"
    read -r l r t b <<<"$(x11_frame "$1")"
    CX=$((X - l + (WIDTH + l + r) / 2))
    CY=$((Y - t + (HEIGHT + t + b) / 2))
    TOP=$((Y - t))
    INNER_TOP=$Y
}

for state in 0 16777216; do
    rm -f Paramora.ini
    x11_write_settings "State = $state" "Width = 960" "Height = 640" "Splitter = 235"
    x11_start_program
    # The window manager may still be placing a maximised window; its frame tells when it is done.
    x11_wait_until "the Main Window has no frame" test -n "$(xprop -id "$MAIN_WINDOW" _NET_FRAME_EXTENTS | grep '=')"
    x11_menu 1 Return  # Connection, settings
    comm=$(x11_wait_window "^Настройки подключения$")
    x11_wait_until "the Comm Window has no frame" test -n "$(xprop -id "$comm" _NET_FRAME_EXTENTS | grep '=')"
    x11_screenshot "comm-centre-$state"
    outer_centre "$MAIN_WINDOW"
    main_x=$CX main_y=$CY main_inner_top=$INNER_TOP
    outer_centre "$comm"
    echo "state $state: Main Window centre $main_x,$main_y; Comm Window centre $CX,$CY"
    dx=$((CX - main_x)) dy=$((CY - main_y))
    # A few pixels for the frames, which are not known before the windows are shown.
    [ "${dx#-}" -le 12 ] && [ "${dy#-}" -le 12 ] ||
        x11_fail "state $state: the Comm Window's centre is off the Main Window's by $dx,$dy"
    [ "$TOP" -ge "$main_inner_top" ] || x11_fail "state $state: the Comm Window covers the Main Window's title bar"
    x11_end_program
done
echo "PASS"
