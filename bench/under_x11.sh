#!/usr/bin/env bash
# Runs a command under its own Xvfb with openbox on a free display, in a temporary folder, and
# exits with its exit code (77 when the tools are missing). The benchmark runs its figures under
# a real X server this way:
#   bash bench/under_x11.sh build/bench/paramora_bench --readall-x11-child
PARAMORA_BINARY="$1"
source "$(dirname "$0")/../tests/x11/session.sh"
x11_require
x11_start
status=0
"$@" || status=$?
exit "$status"
