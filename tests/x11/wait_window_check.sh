#!/usr/bin/env bash
# The Wait Window reaches the screen while File, New loads the largest model: the window manager
# takes it into its frame and maps it (it maps only what the program asked it to map), transient
# for the Main Window and declared a utility window (a window the Main Window goes on working under,
# not a dialog) and that alone, frames it with a title bar (a window of no height is otherwise
# invisible) and offers no maximise box, nor a minimise box where the window manager reads the
# program's hints; it is gone again when the load is over.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_start_program

# A first load makes the Wait Window's X window, which the second one is watched on.
x11_file_new 0  # Zr12
wait_title="Загрузка параметров. Пожалуйста, подождите..."
wait_window=$(xdotool search --name "^$wait_title\$" | head -n1)
[ -n "$wait_window" ] || x11_fail "no Wait Window after the first load"
types=$(x11_window_types "$wait_window")
[ "$types" = UTILITY ] || x11_fail "the Wait Window is declared as $types, not as a utility window alone"

# What happens to the Wait Window during the load. The window manager's taking it is recorded by
# xev as events that carry their data (reparented into the manager's frame, then mapped), so it
# is seen however short the load is and however late the events are read; the frame and allowed
# actions are properties, which xprop reports as they are when it reads them. Each spy first
# reports what is there now; the changes come after those lines.
own_start xev xev -id "$wait_window" -event structure -event property >"$X11_DIR/events" 2>&1
own_start spy xprop -id "$wait_window" -spy WM_STATE _NET_FRAME_EXTENTS _NET_WM_ALLOWED_ACTIONS >"$X11_DIR/wait" 2>&1
x11_wait_until "xprop did not report the Wait Window" grep -q "_NET_WM_ALLOWED_ACTIONS" "$X11_DIR/wait"
first_report=$(wc -l <"$X11_DIR/wait")
# xev watches once a change of a property of the check's own comes through.
xprop -id "$wait_window" -f _PARAMORA_CHECK 8s -set _PARAMORA_CHECK ready
x11_wait_until "xev did not report the Wait Window" grep -q "_PARAMORA_CHECK" "$X11_DIR/events"
before_load=$(wc -l <"$X11_DIR/events")

x11_menu 0 Right Down Down Down Return  # File, New, Zr48X
x11_wait_window "New_Zr48X" >/dev/null
x11_wm_sync

events=$(tail -n +$((before_load + 1)) "$X11_DIR/events" | tr '\n' ' ')
root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
framed=$(grep -o "ReparentNotify event[^(]*parent 0x[0-9a-f]*" <<<"$events" | grep -v "parent $root\$" || true)
[ -n "$framed" ] || x11_fail "the window manager never took the Wait Window during the load: $events"
grep -q "MapNotify event, serial [0-9]*, synthetic NO" <<<"$events" ||
    x11_fail "the Wait Window was never mapped during the load: $events"
[ "$(x11_transient_for "$wait_window")" = "$(printf '%d' "$MAIN_WINDOW")" ] ||
    x11_fail "the Wait Window is not transient for the Main Window"
xdotool search --onlyvisible --name "^$wait_title\$" >/dev/null 2>&1 && x11_fail "the Wait Window stayed on the screen"

changes=$(tail -n +$((first_report + 1)) "$X11_DIR/wait")
tops=$(sed -n 's/^_NET_FRAME_EXTENTS(CARDINAL) = [0-9]*, [0-9]*, \([0-9]*\), [0-9]*$/\1/p' <<<"$changes")
[ -n "$(awk '$1 > 0' <<<"$tops")" ] ||
    x11_fail "the window manager framed the Wait Window with no title bar during the load: $(tr '\n' ' ' <<<"$changes")"
grep -q "MAXIMIZE" "$X11_DIR/wait" && x11_fail "the Wait Window can be maximised"
x11_wm_reads_button_hints && grep -q "MINIMIZE" "$X11_DIR/wait" && x11_fail "the Wait Window can be minimised"

x11_end_program
echo "PASS"
