#!/usr/bin/env bash
# Configures (once) and builds into ./build; incremental on later calls.
#
#   bash scripts/build.sh [TARGET...]   only the targets named (default: everything)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
targets=()
[ $# -eq 0 ] || targets=(--target "$@")
cmake --build build "${targets[@]}"
