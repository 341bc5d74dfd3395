#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 (run as root or through sudo).
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev pkg-config libzip-dev)
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
