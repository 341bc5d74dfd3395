#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 (run as root or through sudo).
set -euo pipefail
# fonts-noto-cjk: the window's Japanese font;
# xvfb, xauth, x11-utils, xdotool, imagemagick: the screenshot and the window benchmark under a
# virtual display; desktop-file-utils, dpkg-dev: checking the desktop entry and packaging;
# btrfs-progs, xfsprogs: the own-blocks tests on loop-mounted images; libzip-dev: workbooks;
# qt6-translations-l10n: the toolkit's own dialogs and menus in Japanese.
packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev fonts-noto-cjk
    xvfb xauth x11-utils xdotool imagemagick desktop-file-utils dpkg-dev
    btrfs-progs xfsprogs pkg-config libzip-dev qt6-translations-l10n)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_prefix=()
[ "$(id -u)" -eq 0 ] || sudo_prefix=(sudo)
"${sudo_prefix[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_prefix[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
