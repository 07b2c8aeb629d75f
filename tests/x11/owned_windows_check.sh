#!/usr/bin/env bash
# Every window the Main Window owns stays above it and keeps the input: a click on the Main
# Window's title bar (the Main Window is disabled meanwhile) must neither bury the About Window, the
# Comm Window, a value editor window, the file dialog or a message box behind it nor leave the
# keyboard with the disabled Main Window.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_start_program
main_id=$(printf '%d' "$MAIN_WINDOW")

# $1 title pattern, $2 what it is: the window is a dialog transient for the Main Window, declared as
# that alone, and a click on the Main Window's title bar leaves it above the Main Window and gives
# the input back to it.
expect_owned() {
    local id
    id=$(x11_wait_window "$1")
    [ "$(x11_transient_for "$id")" = "$main_id" ] || x11_fail "$2 is not transient for the Main Window"
    [ "$(x11_window_types "$id")" = DIALOG ] || x11_fail "$2 is declared $(x11_window_types "$id"), not a dialog alone"
    x11_click_title_of_owner "$MAIN_WINDOW" "$id"
    [ "$ACTIVE_AFTER_CLICK" = "$id" ] || x11_fail "$2 lost the input to the Main Window"
    x11_stacked_above "$id" "$MAIN_WINDOW" || x11_fail "$2 went behind the Main Window"
    x11_screenshot "owned-$2"
    OWNED_ID=$id
}

x11_menu 2 Down Down Return  # Help, About
expect_owned "^О программе$" about
wmctrl -i -c "$OWNED_ID"
x11_wait_gone "^О программе$"

x11_menu 0 Right Return  # File, New, Zr12
x11_wait_window "New_Zr12" >/dev/null
x11_open_value_editor
expect_owned "^P3\.2\.[0-9]+ - " editor
wmctrl -i -c "$OWNED_ID"
x11_wait_gone "^P3\.2\.[0-9]+ - "

# The Comm Window, then the question it asks when another model is chosen for the open document:
# the question stays above the Comm Window too.
x11_menu 1 Return  # Connection, settings
expect_owned "^Настройки подключения$" comm
comm=$OWNED_ID
x11_geometry "$comm"
xdotool mousemove $((X + 275)) $((Y + 50)) click 1  # the model list opens its drop-down
x11_wait_program_windows 3
xdotool key Escape  # closed again, the list keeps the focus
x11_wait_program_windows 2
xdotool key Down
question=$(x11_wait_window "^Внимание$")
[ "$(x11_transient_for "$question")" = "$(printf '%d' "$comm")" ] || x11_fail "the question is not transient for the Comm Window"
x11_click_title_of_owner "$comm" "$question"
[ "$ACTIVE_AFTER_CLICK" = "$question" ] || x11_fail "the question lost the input to the Comm Window"
x11_stacked_above "$question" "$comm" || x11_fail "the question went behind the Comm Window"
xdotool key Return
x11_wait_gone "^Внимание$"
wmctrl -i -c "$comm"
x11_wait_gone "^Настройки подключения$"

# Shown again, the Comm Window tells the window manager its type again before it is mapped: watched
# from before that, every announcement is a dialog alone, never another type first.
own_start comm-types xprop -id "$comm" -spy _NET_WM_WINDOW_TYPE >"$X11_DIR/comm-types" 2>&1
x11_wait_until "xprop did not report the Comm Window" grep -q _NET_WM_WINDOW_TYPE "$X11_DIR/comm-types"
x11_menu 1 Return  # Connection, settings
[ "$(x11_wait_window "^Настройки подключения$")" = "$comm" ] || x11_fail "the Comm Window came back as another window"
x11_wm_sync
announced=$(sed 's/^[^=]*= *//' "$X11_DIR/comm-types" | sort -u)
[ "$announced" = _NET_WM_WINDOW_TYPE_DIALOG ] || x11_fail "the Comm Window was announced as: $announced"
wmctrl -i -c "$comm"
x11_wait_gone "^Настройки подключения$"

# The open dialog, then the message box that a file without a model brings up.
printf '\xEF\xBB\xBF\r\n[General]\r\n' >nomodel.pmr
x11_menu 0 Down Return  # File, Open
dialog=$(x11_wait_window "^Открыть")
[ "$(x11_transient_for "$dialog")" = "$main_id" ] || x11_fail "the file dialog is not transient for the Main Window"
x11_click_title_of_owner "$MAIN_WINDOW" "$dialog"
[ "$ACTIVE_AFTER_CLICK" = "$dialog" ] || x11_fail "the file dialog lost the input to the Main Window"
x11_stacked_above "$dialog" "$MAIN_WINDOW" || x11_fail "the file dialog went behind the Main Window"
xdotool type --delay 20 "$PWD/nomodel.pmr"
xdotool key Return
expect_owned "^Ошибка$" message
xdotool key Return
x11_wait_gone "^Ошибка$"

x11_end_program
echo "PASS"
