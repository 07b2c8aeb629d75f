#!/usr/bin/env bash
# The Wait Window reaches the screen while File, New loads the largest model: the window manager
# takes it into its client list (it maps only what the program asked it to map), transient for
# the Main Window and declared a utility window (a window the Main Window goes on working under,
# not a dialog), frames it with a title bar (a window of no height is otherwise invisible) and
# offers no minimise or maximise box; it is gone again when the load is over.
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
[[ " $types " == *" UTILITY "* && " $types " != *" DIALOG "* ]] ||
    x11_fail "the Wait Window is declared as $types, not as a utility window"

# Every change of the window manager's client list and of the Wait Window's frame and allowed
# actions, as it happens: nothing is missed however short the load is. Each spy first reports
# what is there now; the changes come after those lines.
xprop -root -spy _NET_CLIENT_LIST >"$X11_DIR/clients" 2>&1 &
X11_PIDS+=($!)
xprop -id "$wait_window" -spy WM_STATE _NET_FRAME_EXTENTS _NET_WM_ALLOWED_ACTIONS >"$X11_DIR/wait" 2>&1 &
X11_PIDS+=($!)
x11_wait_until "xprop did not report the client list" test -s "$X11_DIR/clients"
x11_wait_until "xprop did not report the Wait Window" grep -q "_NET_WM_ALLOWED_ACTIONS" "$X11_DIR/wait"
first_report=$(wc -l <"$X11_DIR/wait")

x11_menu 0 Right Down Down Down Return  # File, New, Zr48X
x11_wait_window "New_Zr48X" >/dev/null
x11_wm_sync

seen=""
for id in $(sed 's/.*# //; s/,/ /g' "$X11_DIR/clients" | tr ' ' '\n' | sort -u); do
    xprop -id "$id" WM_NAME 2>/dev/null | grep -qF "\"$wait_title\"" && seen=$id
done
[ -n "$seen" ] || x11_fail "the Wait Window was never mapped during the load"
[ "$(x11_transient_for "$seen")" = "$(printf '%d' "$MAIN_WINDOW")" ] ||
    x11_fail "the Wait Window is not transient for the Main Window"
xdotool search --onlyvisible --name "^$wait_title\$" >/dev/null 2>&1 && x11_fail "the Wait Window stayed on the screen"

changes=$(tail -n +$((first_report + 1)) "$X11_DIR/wait")
tops=$(sed -n 's/^_NET_FRAME_EXTENTS(CARDINAL) = [0-9]*, [0-9]*, \([0-9]*\), [0-9]*$/\1/p' <<<"$changes")
[ -n "$(awk '$1 > 0' <<<"$tops")" ] ||
    x11_fail "the window manager framed the Wait Window with no title bar during the load: $(tr '\n' ' ' <<<"$changes")"
grep -q "MINIMIZE\|MAXIMIZE" "$X11_DIR/wait" && x11_fail "the Wait Window can be minimised or maximised"

x11_end_program
echo "PASS"
