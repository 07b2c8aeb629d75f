#!/usr/bin/env bash
# As an ordinary user under a Russian locale, in a folder that user may not write: File, Open and
# Сохранить of a parameter file the user may write, then the close box, which saves the settings.
# Both files are written where they stand, no error box comes up, and no other file appears.
source "$(dirname "$0")/session.sh"
x11_require setpriv
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root to run the program as another user"; exit 77; }
x11_start
x11_write_settings
printf '\xEF\xBB\xBF[General]\r\nModel = ПЧ Tovik Zr12\r\n[Parameter Set]\r\nP0.0.05 = 2500\r\n' >doc.pmr
cp doc.pmr "$X11_DIR/before.pmr"
# The user runs a copy: the build folder may lie where only root may enter (a clone in /root).
cp "$PARAMORA_BINARY" "$X11_DIR/paramora"
chmod 755 "$X11_DIR"
source "$(dirname "$0")/../support/readable_suppressions.sh"
readable_suppressions "$X11_DIR"
mkdir "$X11_DIR/home"
mkdir -m 700 "$X11_DIR/home/runtime"  # Qt's runtime folder, which must be the user's own
chown -R 65534:65534 "$X11_DIR/home" . && chmod 555 .
trap 'chmod 755 "$X11_DIR/work"; x11_stop' EXIT
x11_run_program setpriv --reuid=65534 --regid=65534 --clear-groups \
    env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 \
    HOME="$X11_DIR/home" XDG_RUNTIME_DIR="$X11_DIR/home/runtime" "$X11_DIR/paramora"
MAIN_WINDOW=$(x11_wait_window "Paramora")
setpriv --reuid=65534 --regid=65534 --clear-groups test -w . && x11_fail "the folder is writable for the user"

x11_file_open "$PWD/doc.pmr"
x11_menu 0 Down Down Return  # File, Save
x11_wait_until "doc.pmr was not saved" sh -c "! cmp -s doc.pmr $X11_DIR/before.pmr"
x11_screenshot locked_folder_saved
tr -d '\r' <doc.pmr | grep -qx 'P0.0.05 = 2500' || x11_fail "the saved file lost its value"
xdotool search --onlyvisible --name "Ошибка" >/dev/null 2>&1 && x11_fail "an error box came up"

wmctrl -i -c "$MAIN_WINDOW"  # the close box: the settings are saved, then the program ends
x11_wait_exit
[ "$PARAMORA_EXIT" = 0 ] || x11_fail "exit code $PARAMORA_EXIT"
# The settings written above have no comment lines; the program's own file begins with them.
grep -q '^; Файл настройки Paramora' Paramora.ini || x11_fail "the settings were not saved: $(cat -v Paramora.ini)"
[ "$(stat -c %U Paramora.ini doc.pmr | sort -u)" = nobody ] || x11_fail "a file changed its owner"
[ "$(LC_ALL=C ls -A | tr '\n' ' ')" = "Paramora.ini doc.pmr " ] || x11_fail "unexpected files: $(ls -A | tr '\n' ' ')"
echo "PASS"
