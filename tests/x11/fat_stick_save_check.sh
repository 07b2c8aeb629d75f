#!/usr/bin/env bash
# The program run from a FAT stick (through fusefat, which stores no owner or mode and refuses any
# change of them): File, Open and Сохранить of a parameter file there, then the close box, which
# saves the settings file there. Both are rewritten with no error box and no other file left.
source "$(dirname "$0")/session.sh"
x11_require mkfs.fat fusefat
[ "$(id -u)" = 0 ] || { echo "SKIP: mounting an image needs root"; exit 77; }
[ -r /dev/fuse ] && [ -w /dev/fuse ] || { echo "SKIP: no /dev/fuse here"; exit 77; }
x11_start
mkfs.fat -C "$X11_DIR/stick.img" 8192 >/dev/null
mkdir stick
own_start fusefat fusefat -f -o rw+ "$X11_DIR/stick.img" stick >"$X11_DIR/fusefat.log" 2>&1
# Unmounted, fusefat ends by itself; x11_stop ends it otherwise.
stick_stop() {
    cd /
    umount -l "$X11_DIR/work/stick" 2>/dev/null || true
    x11_stop
}
trap stick_stop EXIT
x11_wait_until "the FAT image was not mounted" mountpoint -q stick
cd stick
x11_write_settings
printf '\xEF\xBB\xBF[General]\r\nModel = ПЧ Tovik Zr12\r\n[Parameter Set]\r\nP0.0.05 = 2500\r\n' >doc.pmr
for file in doc.pmr Paramora.ini; do cp "$file" "$X11_DIR/before.$file"; done
x11_save_doc_then_close fat_stick_saved

cmp -s Paramora.ini "$X11_DIR/before.Paramora.ini" && x11_fail "the settings were not saved"
tr -d '\r' <doc.pmr | grep -qx 'P0.0.05 = 2500' || x11_fail "the saved file lost its value"
[ "$(LC_ALL=C ls -A | tr '\n' ' ')" = "Paramora.ini Paramora.log doc.pmr " ] || x11_fail "unexpected files: $(ls -A | tr '\n' ' ')"
echo "PASS"
