# Sourced after session.sh by checks that give the same input to the program idle and busy: the
# program runs with a simulated Zr12 as its only port (answering late, so that a read all lasts
# while the input is given), and x11_give_input gives input in one of three states.
PARAMORA_BINARY=${PARAMORA_WITH_DEVICE:-}
export PARAMORA_DEVICE_DELAY_MS=${PARAMORA_DEVICE_DELAY_MS:-50}
read -r -a x11_give_states <<<"${X11_GIVE_STATES:-idle stopped reading}"

# Starts the program and connects it to the device, the only port listed, as Zr12 (the first
# model); a new Zr12 document opens.
x11_start_connected_program() {
    x11_start_program
    x11_connect_only_port
    x11_geometry "$MAIN_WINDOW"
}

x11_requests_logged() { grep -ac "Запрос" Paramora.log || true; }

# "Группа P2" in the tree (what a read all reads here), the table scrolled to its top.
x11_show_p2() {
    local before
    before=$(grep -ac "#Tree_Parameters = Группа P2" Paramora.log || true)
    xdotool mousemove $((X + 569)) $((Y + 258)) click --repeat 10 4
    xdotool mousemove $((X + 128)) $((Y + 150)) click 1
    x11_wait_until "the tree did not show P2" \
        bash -c "[ \$(grep -ac '#Tree_Parameters = Группа P2' Paramora.log) -gt $before ]"
    x11_wait_still
}

# Runs the command given, which gives input, with the program in the state named: idle; stopped
# (SIGSTOP before, SIGCONT once the window manager has handled all of it); or reading, during a
# read all, which must still run once the input has been given. Every state starts from P2 shown.
# X and Y are the Main Window's.
x11_give_input() {
    local state=$1 before
    shift
    X11_GIVE_STATE=$state
    x11_show_p2
    case $state in
        idle) "$@" ;;
        stopped)
            x11_signal_program STOP
            "$@"
            x11_wm_sync
            x11_signal_program CONT
            ;;
        reading)
            before=$(x11_requests_logged)
            xdotool mousemove $((X + 73)) $((Y + 555)) click 1  # "Прочитать"
            x11_wait_until "the read did not start" bash -c "[ \$(grep -ac 'Запрос' Paramora.log) -gt $before ]"
            "$@"
            before=$(x11_requests_logged)
            x11_wait_until "the read was over before the input was given" \
                bash -c "[ \$(grep -ac 'Запрос' Paramora.log) -gt $before ]"
            ;;
        *) x11_fail "no such state: $state" ;;
    esac
}

# Between two pieces of input given to the idle program, waits as a user would for the screen to
# show what the first one did; given to a busy program, input comes at once.
x11_step() {
    [ "$X11_GIVE_STATE" != idle ] || x11_wait_still
}

# Clicks "Группа P0" in the tree, then the set cell of the table's row given (0: P0.0.00).
x11_click_set_cell_of_p0() {
    xdotool mousemove $((X + 128)) $((Y + 73)) click 1
    x11_step
    xdotool mousemove $((X + 582)) $((Y + 53 + 18 * $1)) click 1
    x11_step
}
