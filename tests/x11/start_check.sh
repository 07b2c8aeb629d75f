#!/usr/bin/env bash
# The real program starts under a window manager, shows its Main Window and ends on SIGTERM with
# exit code 0.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_start_program
x11_screenshot start
x11_signal_program TERM
x11_wait_exit
[ "$PARAMORA_EXIT" = 0 ] || x11_fail "exit code $PARAMORA_EXIT"
echo "PASS"
