#!/usr/bin/env bash
# Builds the Debian package into build/ and shows what it holds and depends on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
desktop-file-validate data/zarame.desktop
(cd build && cpack -G DEB >/dev/null)
package=$(ls -t build/zarame_*.deb | head -n 1)
dpkg-deb --info "$package"
dpkg-deb --contents "$package"
echo "built $package"
