#!/usr/bin/env bash
# In a shared sticky folder (as /tmp is), Paramora.ini is another user's link to a private file of
# the user who runs the program there. With fs.protected_symlinks on, the kernel refuses to follow
# it, as it refuses the user's own shell: the real program warns that the settings cannot be read,
# and its settings save at the close box shows the error box of a refused save. The private file
# stays as it was, the link stays, and nothing else appears in the folder.
source "$(dirname "$0")/session.sh"
x11_require
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root to plant another user's link"; exit 77; }
x11_start
setting=/proc/sys/fs/protected_symlinks
if [ "$(cat "$setting")" = 0 ]; then
    # The machine's setting: on for this check's time only (ctest runs no other test that needs it
    # meanwhile), put back on every way out.
    trap 'echo 0 >"$setting"; x11_stop' EXIT
    echo 1 >"$setting" 2>/dev/null && [ "$(cat "$setting")" = 1 ] ||
        { echo "SKIP: fs.protected_symlinks is off here and cannot be turned on"; exit 77; }
fi
printf 'private\n' >"$X11_DIR/private.ini"
chmod 600 "$X11_DIR/private.ini"
chown 4321:4321 . && chmod 1777 .  # a folder of neither the user nor the link's owner
ln -s "$X11_DIR/private.ini" Paramora.ini
chown -h 1234:1234 Paramora.ini
cat Paramora.ini >/dev/null 2>&1 && x11_fail "the kernel follows another user's link here"

mkdir -p "$X11_DIR/program-config"
x11_run_program env XDG_CONFIG_HOME="$X11_DIR/program-config" "$PARAMORA_BINARY"
WARNING=$(x11_wait_window "Предупреждение") || x11_fail "no warning that the settings cannot be read"
x11_activate "$WARNING"
xdotool key Return
MAIN_WINDOW=$(x11_wait_window "Paramora") || x11_fail "no Main Window after the warning"
wmctrl -i -c "$MAIN_WINDOW"  # the close box: the settings are saved, then the program ends
ERROR=$(x11_wait_window "^Ошибка$") || x11_fail "no error box for the refused settings save"
x11_screenshot sticky_folder_link_refused
x11_activate "$ERROR"
xdotool key Return
x11_wait_exit
[ "$PARAMORA_EXIT" = 0 ] || x11_fail "exit code $PARAMORA_EXIT"
[ "$(cat "$X11_DIR/private.ini")" = private ] || x11_fail "the private file was written: $(cat -v "$X11_DIR/private.ini")"
[ -L Paramora.ini ] || x11_fail "the link was replaced"
[ "$(LC_ALL=C ls -A | tr '\n' ' ')" = "Paramora.ini " ] || x11_fail "unexpected files: $(ls -A | tr '\n' ' ')"
echo "PASS"
