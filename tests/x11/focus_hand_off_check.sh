#!/usr/bin/env bash
# The window layer's test of the focus hand-off (a disabled window given the focus by a
# WM_TAKE_FOCUS message hands it to the window it waits for, an enabled one keeps it), on a real
# X server with no window manager, so that nothing but those messages moves the focus.
X11_WM=none
source "$(dirname "$0")/session.sh"
x11_require
[ -x "${PARAMORA_PLATFORM_TESTS:-}" ] || { echo "PARAMORA_PLATFORM_TESTS does not name the window layer's tests"; exit 1; }
x11_start
"$PARAMORA_PLATFORM_TESTS" --gtest_filter='FocusHandOffTest.*' >"$X11_DIR/tests.log" 2>&1 || true
grep -v "^QStandardPaths" "$X11_DIR/tests.log"
grep -q "^\[  PASSED  \] 2 tests\.$" "$X11_DIR/tests.log" || x11_fail "the focus hand-off tests did not all run and pass"
grep -q "SKIPPED" "$X11_DIR/tests.log" && x11_fail "the focus hand-off tests were skipped"
echo "PASS"
