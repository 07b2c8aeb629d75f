#!/usr/bin/env bash
# The Wait Window reaches the screen while File, New loads the largest model: the window manager
# takes it into its client list (it maps only what the program asked it to map), transient for
# the Main Window, and it is gone again when the load is over.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_start_program

# Every change of the window manager's client list, as it happens: nothing is missed however short
# the load is.
xprop -root -spy _NET_CLIENT_LIST >"$X11_DIR/clients" 2>&1 &
X11_PIDS+=($!)
for n in $(seq 50); do [ -s "$X11_DIR/clients" ] && break; sleep 0.1; done

x11_menu 0 Right Down Down Down Return  # File, New, Zr48X
x11_wait_window "New_Zr48X" >/dev/null

wait_title="Загрузка параметров. Пожалуйста, подождите..."
seen=""
for id in $(sed 's/.*# //; s/,/ /g' "$X11_DIR/clients" | tr ' ' '\n' | sort -u); do
    xprop -id "$id" WM_NAME 2>/dev/null | grep -qF "\"$wait_title\"" && seen=$id
done
[ -n "$seen" ] || x11_fail "the Wait Window was never mapped during the load"
[ "$(x11_transient_for "$seen")" = "$(printf '%d' "$MAIN_WINDOW")" ] ||
    x11_fail "the Wait Window is not transient for the Main Window"
xdotool search --onlyvisible --name "^$wait_title\$" >/dev/null 2>&1 && x11_fail "the Wait Window stayed on the screen"

x11_end_program
echo "PASS"
