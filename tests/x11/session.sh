# Real X session for checks that only a real X server with a window manager shows: sourced by the
# *_check.sh scripts beside it. Each check runs the real program binary in a temporary folder under
# its own Xvfb (a free display) with a window manager, drives it with xdotool and reads results from
# files, the log and the window tree. Exit 77 marks a skip when the tools are missing.
#
# X11_WM picks the window manager: openbox (the default), metacity, marco, xfwm4 or kwin; none runs
# none.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/own_processes.sh"

# How long a wait for the program or the window manager lasts before the check fails, in seconds by
# the clock: a minute, as a machine busy with other builds can take tens of seconds to answer.
x11_patience=60

# How to run the window manager, and the programs that takes.
case "${X11_WM:=openbox}" in
    openbox) x11_wm_run=(openbox) x11_wm_tools=(openbox) ;;
    metacity) x11_wm_run=(env GSETTINGS_BACKEND=memory metacity --no-composite --sm-disable) x11_wm_tools=(metacity) ;;
    marco) x11_wm_run=(env GSETTINGS_BACKEND=memory marco --no-composite) x11_wm_tools=(marco) ;;
    xfwm4) x11_wm_run=(dbus-run-session -- xfwm4 --compositor=off) x11_wm_tools=(dbus-run-session xfwm4) ;;
    kwin) x11_wm_run=(env QT_QPA_PLATFORM=xcb kwin_x11) x11_wm_tools=(kwin_x11) ;;
    none) x11_wm_run=() x11_wm_tools=() ;;
    *) echo "X11_WM names no window manager these checks know: $X11_WM"; exit 1 ;;
esac

x11_require() {
    local tool
    for tool in Xvfb "${x11_wm_tools[@]}" xdotool wmctrl xwininfo xprop xset "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (tools/install-deps.sh)"; exit 77; }
    done
    [ -x "${PARAMORA_BINARY:-}" ] || { echo "PARAMORA_BINARY does not name the program"; exit 1; }
}

# Starts Xvfb on a free display and the window manager on it, makes a temporary working folder the
# current directory and sets DISPLAY. Everything is ended and removed on exit. Each process a check
# starts runs under own_start (tests/support/own_processes.sh), so that it ends only its own.
x11_start() {
    X11_DIR=$(mktemp -d)
    OWN_DIR=$X11_DIR
    trap x11_stop EXIT
    own_start xvfb Xvfb -displayfd 3 -screen 0 "${X11_SCREEN:-1280x1024x24}" -nolisten tcp \
        3>"$X11_DIR/display" >"$X11_DIR/xvfb.log" 2>&1
    local attempt
    # A machine busy with a parallel test run can take many seconds to start either server.
    wait_for "$x11_patience" test -s "$X11_DIR/display" || { echo "Xvfb did not start"; cat "$X11_DIR/xvfb.log"; exit 1; }
    export DISPLAY=":$(head -n1 "$X11_DIR/display")"
    unset QT_QPA_PLATFORM
    # The window manager keeps its settings, caches and sockets in the check's folder, not in the
    # user's home.
    local wm_home=$X11_DIR/wm-home
    mkdir -p "$wm_home/config" "$wm_home/cache" "$wm_home/data" "$wm_home/runtime"
    chmod 700 "$wm_home/runtime"
    for attempt in 1 2; do
        [ "$X11_WM" != none ] || break
        own_start wm env XDG_CONFIG_HOME="$wm_home/config" XDG_CACHE_HOME="$wm_home/cache" \
            XDG_DATA_HOME="$wm_home/data" XDG_RUNTIME_DIR="$wm_home/runtime" "${x11_wm_run[@]}" \
            >"$X11_DIR/wm.log" 2>&1
        wait_for 30 wmctrl -m && break
        own_signal wm TERM
        own_wait_exit wm 10 || own_signal wm KILL
    done
    [ "$X11_WM" = none ] || wmctrl -m >/dev/null 2>&1 || { echo "$X11_WM did not start"; cat "$X11_DIR/wm.log"; exit 1; }
    # A key xdotool presses and releases is one key: on a busy machine the release can come after
    # the server's autorepeat delay, which would type it twice.
    xset r off
    mkdir -p "$X11_DIR/work"
    cd "$X11_DIR/work"
}

x11_stop() {
    own_stop_all
    cd / && rm -rf "$X11_DIR"
}

# Writes a valid settings file into the working folder; arguments replace its [MainWindow] lines
# (e.g. "State = 1").
x11_write_settings() {
    local window=("State = 0" "Width = 960" "Height = 640" "Splitter = 235")
    [ $# -eq 0 ] || window=("$@")
    {
        printf '\xEF\xBB\xBF\r\n[General]\r\nFilePath = %s/\r\nwaitTimer = 100\r\nrepeatCount = 3\r\nlogOut = 1\r\n' "$PWD"
        printf '[MainWindow]\r\n'
        printf '%s\r\n' "${window[@]}"
        printf '[ParametersTable]\r\ncolWidth_Code = 50\r\ncolWidth_Name = 220\r\ncolWidth_Set = 150\r\n'
        printf 'colWidth_Read = 150\r\ncolWidth_Range = 100\r\ncolWidth_Default = 80\r\ncolWidth_Addr = 100\r\n'
        printf 'colWidth_AddrEE = 100\r\n'
    } >Paramora.ini
}

# Starts the program in the working folder (a valid settings file is written first unless one is
# there); PARAMORA_PID names it. Waits for its Main Window, whose id is MAIN_WINDOW.
x11_start_program() {
    [ -e Paramora.ini ] || x11_write_settings
    # Qt's file dialogs remember their last folder in the user's settings: keep that in the check's folder.
    mkdir -p "$X11_DIR/program-config"
    x11_run_program env XDG_CONFIG_HOME="$X11_DIR/program-config" "$PARAMORA_BINARY" "$@"
    MAIN_WINDOW=$(x11_wait_window "Paramora")
}

# Starts the program by the command given (its output into program.log); PARAMORA_PID names it for
# window look-ups, x11_signal_program signals it.
x11_run_program() {
    own_start program "$@" >"$X11_DIR/program.log" 2>&1
    PARAMORA_PID=$(own_pid program)
}

x11_signal_program() { own_signal program "$1"; }

# Prints the id of the first visible window whose title matches the pattern, waiting up to a minute.
x11_wait_window() {
    wait_for "$x11_patience" x11_window_named "$1" && { echo "$X11_FOUND"; return 0; }
    echo "no window named '$1' appeared" >&2
    return 1
}

# Sets X11_FOUND to the id of the first visible window whose title matches the pattern; false if
# there is none.
x11_window_named() {
    X11_FOUND=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$X11_FOUND" ]
}

# Waits up to a minute until no visible window's title matches the pattern.
x11_wait_gone() {
    wait_for "$x11_patience" x11_no_window_named "$1" || x11_fail "the window named '$1' did not go away"
}

x11_no_window_named() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# Waits up to a minute until the program shows exactly this many windows (menus and their submenus
# count: each is a window of its own); false if it does not.
x11_program_windows_come_to() { wait_for "$x11_patience" x11_program_shows "$1"; }

x11_program_shows() { [ "$(xdotool search --onlyvisible --pid "$PARAMORA_PID" 2>/dev/null | wc -l)" = "$1" ]; }

# The same, failing the check where the program does not come to that many windows.
x11_wait_program_windows() {
    x11_program_windows_come_to "$1" || x11_fail "the program did not come to $1 visible windows"
}

# Waits up to a minute for the program to end and sets PARAMORA_EXIT to its exit code (not in a
# subshell: it is this shell that knows the program's end).
x11_wait_exit() {
    own_wait_exit program "$x11_patience" || x11_fail "the program did not end"
    PARAMORA_EXIT=$OWN_EXIT
}

# Asks the program to end (SIGTERM, as a session logout would) and fails the check unless it ends
# with exit code 0. A modified document first brings up the save question, answered "Нет".
x11_end_program() {
    local question deadline
    x11_signal_program TERM
    deadline=$(clock_after "$x11_patience")
    until own_ended program || clock_passed "$deadline"; do
        question=$(xdotool search --all --onlyvisible --pid "$PARAMORA_PID" --name "^Внимание$" 2>/dev/null | head -n1 || true)
        if [ -n "$question" ]; then
            x11_activate "$question"
            xdotool key Tab space  # from "Да" to "Нет"
            x11_wait_gone "^Внимание$"
        fi
        sleep 0.1
    done
    x11_wait_exit
    [ "$PARAMORA_EXIT" = 0 ] || x11_fail "exit code $PARAMORA_EXIT"
}

# Saves a PNG of the whole screen when PARAMORA_X11_SHOTS names a folder (for looking at by eye).
x11_screenshot() {
    [ -n "${PARAMORA_X11_SHOTS:-}" ] || return 0
    command -v import >/dev/null || return 0
    import -window root "$PARAMORA_X11_SHOTS/$1.png"
}

# Waits up to a minute for a command to succeed; otherwise fails the check, saying what was awaited.
x11_wait_until() {
    local what=$1
    shift
    wait_for "$x11_patience" "$@" || x11_fail "$what"
}

# Prints the value of a key in the working folder's Paramora.ini (the first line that has it).
x11_setting() { tr -d '\r' <Paramora.ini | sed -n "s/^$1 = //p" | head -n1; }

# Opens a menu of the Main Window with the keyboard (0 the first) and presses the keys given, the
# first item being highlighted: x11_menu 0 Right Return picks File, New, its first model.
x11_menu() {
    local menu=$1 n
    shift
    xdotool windowactivate --sync "$MAIN_WINDOW" 2>/dev/null || true
    xdotool key alt
    for n in $(seq "$menu"); do xdotool key Right; done
    xdotool key --delay 50 Down "$@"
}

# Connects, through the Comm Window, to the only port listed as the first model (Zr12), and waits
# until the log says so.
x11_connect_only_port() {
    local comm
    x11_menu 1 Return  # Connection, settings
    comm=$(x11_wait_window "^Настройки подключения$")
    x11_geometry "$comm"
    xdotool mousemove $((X + 143)) $((Y + 50)) click 1  # the port list's drop-down
    x11_wait_program_windows 3
    xdotool key Down Return
    x11_wait_program_windows 2
    xdotool mousemove $((X + 95)) $((Y + 305)) click 1  # "Подключить"
    x11_wait_gone "^Настройки подключения$"
    x11_wait_until "the program did not connect" grep -aq "#Button_Connect" Paramora.log
}

# Prints the window a window is transient for (WM_TRANSIENT_FOR), as a decimal id; nothing if none.
x11_transient_for() {
    local id
    id=$(xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | sed -n 's/.*window id # \(0x[0-9a-f]*\).*/\1/p')
    [ -z "$id" ] || printf '%d\n' "$id"
}

# True when window $1 is stacked above window $2 (_NET_CLIENT_LIST_STACKING runs bottom to top).
x11_stacked_above() {
    local order upper lower
    order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g')
    upper=$(printf '0x%x' "$1")
    lower=$(printf '0x%x' "$2")
    order=" $order "
    [[ "$order" == *" $lower "*" $upper "* ]]
}

# Sets X, Y (screen position) and WIDTH, HEIGHT of a window's inner area, frame not included.
x11_geometry() {
    local info
    info=$(xwininfo -id "$1")
    X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info")
    HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$info")
}

# Prints the frame around a window (_NET_FRAME_EXTENTS) as "left right top bottom"; a window the
# window manager does not frame has "0 0 0 0".
x11_frame() {
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ',')
    echo "${extents:-0 0 0 0}"
}

# Left-clicks a window's title bar, as a user raising it would: its middle, or, where another
# window given as $2 covers that, a point near either end that is free.
x11_click_title() {
    local l r t b x y fraction ox oy ow oh
    x11_geometry "$1"
    read -r l r t b <<<"$(x11_frame "$1")"
    local left=$X top=$Y width=$WIDTH
    y=$((top - t / 2))
    ox=0 oy=0 ow=0 oh=0
    if [ -n "${2:-}" ]; then
        x11_geometry "$2"
        read -r l r t b <<<"$(x11_frame "$2")"
        ox=$((X - l)) oy=$((Y - t)) ow=$((WIDTH + l + r)) oh=$((HEIGHT + t + b))
    fi
    for fraction in 4 1 7; do
        x=$((left + width * fraction / 8))
        [ "$x" -ge "$ox" ] && [ "$x" -lt $((ox + ow)) ] && [ "$y" -ge "$oy" ] && [ "$y" -lt $((oy + oh)) ] && continue
        xdotool mousemove "$x" "$y" click 1
        return 0
    done
    x11_fail "no free point on the title bar of window $1"
}

# Prints a window's outer size, frame and title bar included, as WxH.
x11_outer_size() {
    local l r t b
    x11_geometry "$1"
    read -r l r t b <<<"$(x11_frame "$1")"
    echo "$((WIDTH + l + r))x$((HEIGHT + t + b))"
}

# Prints a window's allowed actions (_NET_WM_ALLOWED_ACTIONS, which the window manager sets as it
# manages the window) as short names: CLOSE MOVE MINIMIZE ...
x11_allowed_actions() {
    xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | sed 's/^[^=]*= *//; s/_NET_WM_ACTION_//g; s/,//g'
}

# True under window managers that take the minimise and maximise boxes away where the program's
# Motif hints ask (metacity, marco, xfwm4). Openbox reads no buttons from them: it offers minimise on
# every dialog and utility window and maximise on every one that can be resized, as kwin does.
x11_wm_reads_button_hints() {
    case "$X11_WM" in
        openbox | kwin | none) return 1 ;;
    esac
}

# True when the window can be resized (its smallest and largest sizes differ or are not set).
x11_resizable() {
    local hints
    hints=$(xprop -id "$1" WM_NORMAL_HINTS)
    [ "$(sed -n 's/.*minimum size: //p' <<<"$hints")" != "$(sed -n 's/.*maximum size: //p' <<<"$hints")" ] ||
        ! grep -q 'maximum size' <<<"$hints"
}

# Prints the types a window declares itself (_NET_WM_WINDOW_TYPE) as short names: DIALOG, UTILITY...
x11_window_types() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE | sed 's/^[^=]*= *//; s/_NET_WM_WINDOW_TYPE_//g; s/,//g'
}

# Asks the window manager to close a window, as its close box or a task list does: the manager's
# close request (_NET_CLOSE_WINDOW). Every window manager here closes nothing by it that it does not
# allow to be closed. Not by Alt+F4: kwin serves that shortcut over D-Bus, and one started without
# a session bus closes nothing by it.
x11_close_by_manager() { wmctrl -i -c "$1"; }

# The Main Window takes a command: Connection, "Монитор" writes its tag to the log and shows the
# Monitor Window, and the same again hides it. $1 says after what.
x11_expect_main_takes_command() {
    local before
    before=$(grep -c "#MenuItem_Monitor" Paramora.log || true)
    x11_menu 1 Down Return
    x11_wait_until "after $1, the Main Window took no command" \
        bash -c "[ \$(grep -c '#MenuItem_Monitor' Paramora.log) -gt $before ]"
    x11_wait_window "^Монитор$" >/dev/null
    x11_menu 1 Down Return
    x11_wait_gone "^Монитор$"
}

# Clicks at a point of the screen and returns once the window manager has handled the click, so
# that keys pressed next go to the window it gave the keyboard to.
x11_click_for_keys() {
    xdotool mousemove "$1" "$2" click 1
    x11_wm_sync
}

# Returns once the window manager has handled every input event and request sent so far: it
# handles them in order, and a change of the number of desktops asked for now shows only after it
# is through with those that came before.
x11_wm_sync() {
    local desktops
    desktops=$(xprop -root _NET_NUMBER_OF_DESKTOPS | sed 's/.*= //')
    wmctrl -n $((desktops + 1))
    x11_wait_until "the window manager did not answer" \
        bash -c "xprop -root _NET_NUMBER_OF_DESKTOPS | grep -q '= $((desktops + 1))\$'"
    wmctrl -n "$desktops"
    x11_wait_until "the window manager did not answer" \
        bash -c "xprop -root _NET_NUMBER_OF_DESKTOPS | grep -q '= $desktops\$'"
}

# Clicks the title bar of window $1 (an owner) while window $2, which it owns, holds the input;
# once the window manager has handled the click, waits up to a minute for window $2 to be the active
# window (again). Sets ACTIVE_AFTER_CLICK to the active window (decimal) at the end.
x11_click_title_of_owner() {
    x11_click_title "$1" "$2"
    x11_wm_sync
    wait_for "$x11_patience" x11_is_active "$2" || true
    ACTIVE_AFTER_CLICK=$(xdotool getactivewindow 2>/dev/null || true)
}

x11_is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# Gives the window the keyboard and waits until the window manager has made it the active one: on
# a busy machine a manager can take longer than xdotool waits, and keys typed before would go to
# the window behind, which a modal box blocks.
x11_activate() { wait_for "$x11_patience" x11_try_activate "$1" || x11_fail "the window manager never activated $1"; }
x11_try_activate() { xdotool windowactivate --sync "$1" 2>/dev/null; x11_is_active "$1"; }

# With a new Zr12 document open, opens a value editor window and sets EDITOR to its id: subgroup
# P3.2 holds only digit fields in its first twelve rows, so clicks in the upper part of its
# set-value column open one (the first shows the in-place editor, the next one into it opens the
# window).
x11_open_value_editor() {
    local n
    x11_geometry "$MAIN_WINDOW"
    # The tree's type-ahead search forgets what was typed 400 ms after the last key it handled, and
    # each key waits while the program fills the table for the item the one before it picked: a
    # program slowed by the sanitizers on a busy machine can take longer, so the search is typed again.
    local try
    for try in 1 2 3; do
        x11_click_for_keys $((X + 100)) $((Y + 150))
        xdotool type --delay 50 "P3.2"
        wait_for 10 grep -q "#Tree_Parameters = P3.2 " Paramora.log && break
    done
    grep -q "#Tree_Parameters = P3.2 " Paramora.log || x11_fail "the tree did not select P3.2"
    xdotool mousemove $((X + 620)) $((Y + 130))
    # Clicks a fifth of a second apart (closer ones would be a double click) until the window shows.
    wait_for 10 x11_click_shows_editor
    EDITOR=$(x11_wait_window "^P3\.2\.[0-9]+ - ")
}

x11_click_shows_editor() {
    xdotool click 1
    sleep 0.2
    x11_window_named "^P3\.2\.[0-9]+ - "
}

# Fails the check; the end of the program's log in the working folder says what it was doing.
x11_fail() {
    echo "FAIL: $*"
    if [ -f Paramora.log ]; then
        echo "The program's log ends:"
        tail -n 30 Paramora.log | tr -d '\r'
    fi
    exit 1
}

# True when the Main Window's title marks the document as changed.
x11_document_marked() { xdotool getwindowname "$MAIN_WINDOW" | grep -q '\*'; }

# Opens File, New and picks the model at that position of the submenu (0: the first) with the
# keyboard, each key once the menu it goes to is open and the window manager has given the window
# the keyboard for the click, then waits for the new document's title. Starts again where the click
# or the keys were lost (the window not yet taking input).
x11_file_new() {
    local attempt n downs=() shown
    for ((n = 0; n < $1; n++)); do downs+=(Down); done
    shown=$(xdotool search --onlyvisible --pid "$PARAMORA_PID" 2>/dev/null | wc -l)
    for attempt in 1 2 3; do
        xdotool mousemove --window "$MAIN_WINDOW" 20 10 click 1
        if x11_program_windows_come_to $((shown + 1)); then
            x11_wm_sync
            xdotool key Down Right
            if x11_program_windows_come_to $((shown + 2)); then
                xdotool key "${downs[@]}" Return
                x11_wait_until "File, New did not open a document" \
                    sh -c "xdotool getwindowname $MAIN_WINDOW | grep -q New_"
                return 0
            fi
        fi
        xdotool key Escape Escape Escape
        x11_program_windows_come_to "$shown" || true
    done
    x11_fail "File, New did not open its menus"
}

# File, Open of the file at that path through the keyboard; waits for the title to name it.
x11_file_open() {
    x11_menu 0 Down Return
    x11_wait_window "Открыть файл конфигурации" >/dev/null
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key Return
    x11_wait_until "$(basename "$1") did not open" sh -c "xdotool getwindowname $MAIN_WINDOW | grep -qF '$(basename "$1")'"
}

# Starts the program, opens doc.pmr of the working folder, saves it by File, Сохранить and ends
# the program by its close box, which saves the settings file. Fails on an error box or an exit code
# other than 0. The file as it was must be in $X11_DIR/before.doc.pmr; $1 names the screenshot of
# the saved document.
x11_save_doc_then_close() {
    x11_start_program
    x11_file_open "$PWD/doc.pmr"
    x11_menu 0 Down Down Return  # File, Save
    x11_wait_until "doc.pmr was not saved" sh -c "! cmp -s doc.pmr $X11_DIR/before.doc.pmr"
    x11_screenshot "$1"
    xdotool search --onlyvisible --name "Ошибка" >/dev/null 2>&1 && x11_fail "an error box came up"
    wmctrl -i -c "$MAIN_WINDOW"
    x11_wait_exit
    [ "$PARAMORA_EXIT" = 0 ] || x11_fail "exit code $PARAMORA_EXIT"
}

# Saves a PNG of the whole screen to the file once the screen has stopped changing (for at most
# 3 s).
x11_grab() {
    import -window root "$1"
    wait_for 3 x11_screen_same_as "$1" || true
    rm -f "$1.next.png"
}

# True when the screen looks as the PNG shows a moment later; otherwise the PNG becomes the screen.
x11_screen_same_as() {
    sleep 0.15
    import -window root "$1.next.png"
    [ "$(compare -metric AE "$1" "$1.next.png" null: 2>&1)" = 0 ] && return 0
    mv "$1.next.png" "$1"
    return 1
}

# Waits until the screen stops changing (a repaint after a click or a key has ended).
x11_wait_still() { x11_grab "$X11_DIR/still.png"; }

# Prints the box holding every pixel that differs between two PNGs: width height x y.
x11_changed_area() {
    local box
    box=$(convert "$1" "$2" -compose difference -composite -threshold 0 -format '%@' info:)
    echo "${box//[x+]/ }"
}

# Finds the rows of the parameter table on screen: after a click at (x, y) of the Main Window inside
# the table, the keyboard selects row 0 and then row 1, and the screen's change is those two rows.
# Sets, in screen pixels, TABLE_LEFT and TABLE_RIGHT (the visible cell area), ROW_TOP (row 0's top)
# and ROW_HEIGHT.
x11_table_rows() {
    local w=0 h=0 x=0 y=0 attempt
    xdotool mousemove --window "$MAIN_WINDOW" "$1" "$2" click 1
    for attempt in 1 2 3; do
        xdotool key ctrl+Home
        x11_grab "$X11_DIR/row0.png"
        xdotool key Down
        x11_grab "$X11_DIR/row1.png"
        read -r w h x y < <(x11_changed_area "$X11_DIR/row0.png" "$X11_DIR/row1.png")
        # Two rows of equal height across the table, or a repaint was caught half done.
        [ "$w" -gt 100 ] && [ "$h" -ge 16 ] && [ "$h" -le 100 ] && [ $((h % 2)) = 0 ] && break
    done
    [ "$w" -gt 100 ] && [ "$h" -ge 16 ] || x11_fail "no table rows found at $1,$2 of the Main Window"
    TABLE_LEFT=$x
    TABLE_RIGHT=$((x + w))
    ROW_TOP=$y
    ROW_HEIGHT=$((h / 2))
}

# The screen's pixels in a box (width height x y) differ between two PNGs.
x11_area_differs() {
    local a b
    a=$(convert "$1" -crop "$3x$4+$5+$6" +repage rgb:- | md5sum)
    b=$(convert "$2" -crop "$3x$4+$5+$6" +repage rgb:- | md5sum)
    [ "$a" != "$b" ]
}
