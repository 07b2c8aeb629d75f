#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping what is already there.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev libxcb1-dev libgl-dev libpng-dev zlib1g-dev libchm-dev
          fonts-liberation2 qt6-translations-l10n
          libgtest-dev libgmock-dev libmodbus-dev libbenchmark-dev libacl1-dev libattr1-dev acl attr
          clang-14 libclang-rt-14-dev
          socat strace dosfstools fusefat ntfs-3g
          xvfb openbox metacity xdotool wmctrl x11-utils x11-xserver-utils imagemagick locales)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Numbers are tested where Russian users type them: the suite also runs under ru_RU.UTF-8.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8'; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
