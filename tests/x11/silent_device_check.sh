#!/usr/bin/env bash
# A device that falls silent after Connect (powered off, its cable pulled at the drive) costs each
# row of a read its attempts and no more: read all of P0.0's 25 rows, at the settings' time-out of
# 100 ms and 3 attempts, is over within 11.75 s of the click. The attempts alone take 7.5 s; a wait
# for late answers after every row would take 17.5 s. A bound of correctness, not a speed target.
source "$(dirname "$0")/session.sh"
PARAMORA_BINARY=${PARAMORA_WITH_DEVICE:-}
x11_require
export PARAMORA_DEVICE_ANSWERS=1  # the identification at Connect
x11_start
x11_start_program

x11_connect_only_port

# P0.0 in the tree: the first subgroup under "Группа P0", which the tree shows opened.
x11_geometry "$MAIN_WINDOW"
xdotool mousemove $((X + 128)) $((Y + 73)) click 1
x11_wait_until "the tree did not show P0" grep -aq "#Tree_Parameters = Группа P0" Paramora.log
xdotool key Down
x11_wait_until "the tree did not show P0.0" grep -aq "#Tree_Parameters = P0\.0" Paramora.log
x11_wait_still

count() { grep -ac "$1" Paramora.log || true; }
since_click_ms() { echo $((($(date +%s%N) - clicked) / 1000000)); }
requests_before=$(count "Запрос ")
tree_clicks=$(count "#Tree_Parameters = Группа P0")
clicked=$(date +%s%N)
xdotool mousemove $((X + 73)) $((Y + 555)) click 1  # "Прочитать"
# Once the last row's last attempt has timed out, a click on the tree is taken as soon as the read
# is over: its line in the log marks the end.
until [ "$(count "Превышено время ожидания")" -ge 75 ]; do
    [ "$(since_click_ms)" -le 60000 ] || x11_fail "the read of 25 rows did not end within a minute"
    sleep 0.05
done
x11_screenshot silent_device_read  # (when asked for, it takes its time from the bound's margin)
xdotool mousemove $((X + 128)) $((Y + 73)) click 1
until [ "$(count "#Tree_Parameters = Группа P0")" -gt "$tree_clicks" ]; do
    [ "$(since_click_ms)" -le 60000 ] || x11_fail "the program did not take a click after the read"
    sleep 0.02
done
took=$(since_click_ms)
requests=$(($(count "Запрос ") - requests_before))
[ "$requests" = 75 ] || x11_fail "$requests requests for 25 rows of 3 attempts"
echo "read all of 25 silent rows took $took ms"
[ "$took" -le 11750 ] || x11_fail "read all of 25 silent rows took $took ms, more than 11.75 s"
x11_end_program
echo "PASS"
