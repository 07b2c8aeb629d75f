#!/usr/bin/env bash
# Sessions that open maximised and end through the window's close box save the divider they read:
# the tree keeps its width whatever the window's size, so nothing creeps from run to run.
source "$(dirname "$0")/session.sh"
x11_require xprop
x11_start

maximised() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_HORZ; }

x11_write_settings "State = 16777216" "Width = 960" "Height = 640" "Splitter = 235"
for run in 1 2 3 4 5; do
    x11_start_program
    x11_wait_until "run $run: the Main Window did not open maximised" maximised "$MAIN_WINDOW"
    x11_screenshot "maximised_$run"
    wmctrl -i -c "$MAIN_WINDOW"
    x11_wait_exit
    [ "$PARAMORA_EXIT" = 0 ] || x11_fail "run $run: exit code $PARAMORA_EXIT"
    [ "$(x11_setting State)" = 16777216 ] || x11_fail "run $run: State $(x11_setting State)"
    splitter=$(x11_setting Splitter)
    echo "run $run: Splitter = $splitter"
    [ "$splitter" -ge 232 ] && [ "$splitter" -le 238 ] || x11_fail "run $run: Splitter $splitter, read as 235"
done
echo "PASS"
