#!/usr/bin/env bash
# Installs from Debian 12's packages what the project needs (run as root or through sudo).
#
#   bash scripts/install-deps.sh             building, running and testing (scripts/test.sh)
#   bash scripts/install-deps.sh --runtime   only building and running the two programs
#   bash scripts/install-deps.sh --package   building the programs and the Debian package, and
#                                            checking the package with lintian
set -euo pipefail
# Building and running: the compiler and build tools, Qt, libzip (workbooks), the window's
# Japanese font, and qt6-translations-l10n for the toolkit's own dialogs and menus in Japanese.
runtime=(cmake ninja-build g++ pkg-config qt6-base-dev libzip-dev fonts-noto-cjk
    qt6-translations-l10n)
# Testing: GoogleTest; xvfb, xauth, x11-utils, xdotool, imagemagick for the screenshot and the
# window benchmark under a virtual display; desktop-file-utils checks the desktop entry;
# btrfs-progs, xfsprogs for the own-blocks tests on loop-mounted images; groff-base and man-db
# check the manual pages.
tests=(libgtest-dev xvfb xauth x11-utils xdotool imagemagick desktop-file-utils
    btrfs-progs xfsprogs groff-base man-db)
# Packaging: dpkg-shlibdeps (dpkg-dev) finds the library dependencies; lintian checks the result.
package=(dpkg-dev desktop-file-utils lintian)

case ${1:-} in
    --runtime) packages=("${runtime[@]}") ;;
    --package) packages=("${runtime[@]}" "${package[@]}") ;;
    "") packages=("${runtime[@]}" "${tests[@]}") ;;
    *) echo "usage: $0 [--runtime | --package]" >&2; exit 2 ;;
esac
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
