#!/usr/bin/env bash
# Paramora.log as a FIFO that nothing reads, with logOut = 1: the real program does not wait on it.
# It starts, answers a menu command (File, New), writes nothing into the FIFO, leaves it in place and
# ends on SIGTERM with exit code 0.
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_write_settings
[ "$(x11_setting logOut)" = 1 ] || x11_fail "the settings do not turn the log on"
mkfifo Paramora.log
x11_start_program
x11_file_new 0
x11_screenshot log_fifo_new_document
[ -p Paramora.log ] || x11_fail "the FIFO was replaced"
x11_end_program
[ -p Paramora.log ] || x11_fail "the FIFO was replaced at the end"
echo "PASS"
