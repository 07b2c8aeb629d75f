#!/usr/bin/env bash
# A device behind socat, as users reach a gateway or a simulator:
#   socat pty,raw,echo=0,link=/dev/ttyUSB<a> pty,raw,echo=0,link=/dev/ttyUSB<b>
# with an independent Modbus device (libmodbus) on side B. socat keeps both terminals open, and
# the device has B open: the Comm Window lists A and only A, and Connect identifies the device
# through it and reads all from it.
#
# The links go into /dev as the user's would, but into a private view of it: an overlay in a mount
# namespace of the check's own, where the machine's own serial ports are hidden too, so that the
# list holds socat's ports only and no real port is probed.
if [ "${PARAMORA_PRIVATE_DEV:-}" != 1 ]; then
    [ "$(id -u)" = 0 ] || { echo "SKIP: a private view of /dev needs root"; exit 77; }
    unshare --mount --propagation private true 2>/dev/null || { echo "SKIP: no mount namespace to be had here"; exit 77; }
    exec env PARAMORA_PRIVATE_DEV=1 unshare --mount --propagation private bash "$0" "$@"
fi
source "$(dirname "$0")/session.sh"
x11_require socat
[ -x "${PARAMORA_MODBUS_SLAVE:-}" ] || { echo "PARAMORA_MODBUS_SLAVE does not name the device program"; exit 1; }
x11_start
trap 'umount -l /dev 2>/dev/null; umount -l "$X11_DIR/dev-view" 2>/dev/null; x11_stop' EXIT

# The overlay sees what /dev holds, without the machine's serial ports (each hidden by a whiteout)
# and without the file systems mounted inside /dev, which are moved onto it.
view=$X11_DIR/dev-view
mkdir "$view"
mount -t tmpfs tmpfs "$view"  # wherever the check's folder lies, an overlay's upper layer may go here
mkdir -p "$view/upper" "$view/work" "$view/pts" "$view/shm"
for device in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM* /dev/ttyAMA* /dev/rfcomm* /dev/tnt*; do
    if [ -e "$device" ] || [ -L "$device" ]; then mknod "$view/upper/${device#/dev/}" c 0 0; fi
done
mount --bind /dev/pts "$view/pts"
mount --bind /dev/shm "$view/shm"
mount -t overlay overlay -o "lowerdir=/dev,upperdir=$view/upper,workdir=$view/work" /dev
mount --move "$view/pts" /dev/pts
mount --move "$view/shm" /dev/shm

side_a=/dev/ttyUSB20
side_b=/dev/ttyUSB21
own_start socat socat "pty,raw,echo=0,link=$side_a" "pty,raw,echo=0,link=$side_b" 2>"$X11_DIR/socat.log"
x11_wait_until "socat made no terminals" test -e "$side_a" -a -e "$side_b"
# The identification of the first model (Zr12), and P0.0.05 at 43.21 for the eye.
own_start device "$PARAMORA_MODBUS_SLAVE" "$side_b" 1 0x5504=18000 0x0405=4321 >"$X11_DIR/device.log" 2>&1
x11_wait_until "the device did not open side B" grep -q '^ready$' "$X11_DIR/device.log"

x11_start_program
x11_menu 1 Return  # Connection, settings
comm=$(x11_wait_window "^Настройки подключения$")
x11_wait_until "the Comm Window has no frame" test -n "$(xprop -id "$comm" _NET_FRAME_EXTENTS | grep '=')"
# The port list, opened for the eye; then the entry after the first is the refresh entry, so the
# list holds one port.
xdotool mousemove --window "$comm" 143 50 click 1
sleep 0.5
x11_screenshot socat-port-list
xdotool key Escape
sleep 0.3
xdotool key Down
x11_wait_until "the port list does not hold one port before its refresh entry" grep -q ' #Combo_SelectCOM:Обновить\.\.\.' Paramora.log
grep -q " #Combo_SelectCOM:$side_b" Paramora.log && x11_fail "side B, which the device holds, is listed"

# The refresh chose the first entry again: Connect takes it, and only side A reaches the device.
xdotool mousemove --window "$comm" 95 305 click 1
x11_wait_gone "^Настройки подключения$"
x11_wait_until "Connect did not open a document" sh -c "xdotool getwindowname $MAIN_WINDOW | grep -q New_Zr12"
grep -q '^01 03 55 04 00 01' "$X11_DIR/device.log" || x11_fail "the device got no identification request"
grep -q 'Modbus\\status' Paramora.log && x11_fail "the identification failed: $(grep 'Modbus\\status' Paramora.log)"

# Read all of subgroup P0.0: the device answers each of its rows.
x11_geometry "$MAIN_WINDOW"
xdotool mousemove $((X + 100)) $((Y + 150)) click 1
xdotool type --delay 50 "P0.0"
x11_wait_until "the tree did not select P0.0" grep -q "#Tree_Parameters = P0.0 " Paramora.log
before=$(grep -c '^01 03 ' "$X11_DIR/device.log")
# The button's place in the window, the menu bar's height (about 20 pixels) below it included.
xdotool mousemove --window "$MAIN_WINDOW" 75 $((HEIGHT - 85)) click 1
x11_wait_until "Read all asked the device nothing" \
    bash -c "[ \$(grep -c '^01 03 ' '$X11_DIR/device.log') -ge $((before + 25)) ]"
x11_wait_still
x11_screenshot socat-port-read-all
grep -q 'Modbus\\status' Paramora.log && x11_fail "a read failed: $(grep 'Modbus\\status' Paramora.log)"
echo "read all through $side_a: $(($(grep -c '^01 03 ' "$X11_DIR/device.log") - before)) requests answered"
x11_end_program
echo "PASS"
