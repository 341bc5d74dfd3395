#!/usr/bin/env bash
# Builds the Debian package into build/, shows what it holds and depends on, and checks it with
# lintian (which must report no error).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --package
bash scripts/build.sh zarame zarame-cli documentation >/dev/null
desktop-file-validate data/zarame.desktop
(cd build && cpack -G DEB >/dev/null)
package=$(ls -t build/zarame_*.deb | head -n 1)
dpkg-deb --info "$package"
dpkg-deb --contents "$package"
echo "built $package"
echo "lintian:"
lintian --fail-on error --info "$package"
