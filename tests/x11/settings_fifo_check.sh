#!/usr/bin/env bash
# Paramora.ini as a FIFO that nothing writes to: the real program does not wait on it. It warns
# that the settings file cannot be opened, starts with the defaults, leaves the FIFO in place and
# ends on SIGTERM with exit code 0.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
mkfifo Paramora.ini
x11_run_program "$PARAMORA_BINARY"
WARNING=$(x11_wait_window "Предупреждение") || x11_fail "no warning: the start waits on the FIFO"
x11_screenshot settings_fifo_warning
x11_activate "$WARNING"
xdotool key Return
MAIN_WINDOW=$(x11_wait_window "Paramora") || x11_fail "no Main Window after the warning"
[ -p Paramora.ini ] || x11_fail "the FIFO was replaced"
x11_signal_program TERM
x11_wait_exit
[ "$PARAMORA_EXIT" = 0 ] || x11_fail "exit code $PARAMORA_EXIT"
echo "PASS"
