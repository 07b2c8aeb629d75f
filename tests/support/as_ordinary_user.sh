#!/usr/bin/env bash
# Runs a test executable as an ordinary user (uid 65534), from a copy in a folder of its own that
# the user can reach wherever the project lies: a clone in /root is closed to every other user.
# Its temporary files go into that folder too, and the folder goes when the run ends.
# Usage: as_ordinary_user.sh EXECUTABLE [ARGUMENT...]
set -euo pipefail
[ "$(id -u)" = 0 ] || { echo "SKIP: not root, so the suite runs as an ordinary user already"; exit 77; }
command -v setpriv >/dev/null || { echo "SKIP: setpriv is not installed"; exit 77; }
executable=$1
shift
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/tmp"
cp "$executable" "$folder/"
source "$(dirname "$0")/readable_suppressions.sh"
readable_suppressions "$folder"
chown -R 65534:65534 "$folder"
chmod 755 "$folder"
cd "$folder"
setpriv --reuid=65534 --regid=65534 --clear-groups \
    env HOME="$folder" TMPDIR="$folder/tmp" "$folder/$(basename "$executable")" "$@"
