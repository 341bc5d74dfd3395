#!/usr/bin/env bash
# Installs dependencies, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# A build folder first configured by scripts/run.sh, without GoogleTest, has the tests off.
if [ ! -f build/build.ninja ] || ! grep -q '^ZARAME_TESTS:BOOL=ON$' build/CMakeCache.txt; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARAME_TESTS=ON
fi
bash scripts/build.sh
ctest --test-dir build --output-on-failure
