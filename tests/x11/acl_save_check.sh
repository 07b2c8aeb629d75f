#!/usr/bin/env bash
# A parameter file and the settings file that carry an ACL and a user attribute: File, Open and
# Сохранить of the one, then the close box, which saves the other. Both are rewritten and keep the
# ACL entry, its mask (the mode's group bits) and the attribute, and no other file appears.
source "$(dirname "$0")/session.sh"
x11_require setfacl getfacl setfattr getfattr
x11_start
x11_write_settings
printf '\xEF\xBB\xBF[General]\r\nModel = ПЧ Tovik Zr12\r\n[Parameter Set]\r\nP0.0.05 = 2500\r\n' >doc.pmr
for file in doc.pmr Paramora.ini; do
    cp "$file" "$X11_DIR/before.$file"
    chmod 640 "$file"
    { setfacl -m u:nobody:rw- "$file" && setfattr -n user.note -v "kept: $file" "$file"; } 2>/dev/null ||
        { echo "SKIP: no ACLs or user attributes on this file system"; exit 77; }
done
acl_before=$(getfacl -p doc.pmr Paramora.ini)
attributes_before=$(getfattr -d doc.pmr Paramora.ini)
x11_save_doc_then_close acl_saved

cmp -s Paramora.ini "$X11_DIR/before.Paramora.ini" && x11_fail "the settings were not saved"
tr -d '\r' <doc.pmr | grep -qx 'P0.0.05 = 2500' || x11_fail "the saved file lost its value"
[ "$(getfacl -p doc.pmr Paramora.ini)" = "$acl_before" ] ||
    x11_fail "an ACL changed: $(getfacl -p doc.pmr Paramora.ini)"
getfacl -p doc.pmr | grep -qx 'user:nobody:rw-' || x11_fail "the ACL entry is gone"
[ "$(getfattr -d doc.pmr Paramora.ini)" = "$attributes_before" ] ||
    x11_fail "an attribute changed: $(getfattr -d doc.pmr Paramora.ini)"
[ "$(stat -c %a doc.pmr Paramora.ini | sort -u)" = 660 ] || x11_fail "a mode changed: $(stat -c '%n %a' doc.pmr Paramora.ini)"
[ "$(LC_ALL=C ls -A | tr '\n' ' ')" = "Paramora.ini Paramora.log doc.pmr " ] || x11_fail "unexpected files: $(ls -A | tr '\n' ' ')"
echo "PASS"
