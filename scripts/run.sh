#!/usr/bin/env bash
# Installs what building and running the programs needs, builds the two programs, and starts the
# desktop program. Without a display it says so and shows the command-line runner instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'MESSAGE'
画面 (DISPLAY も WAYLAND_DISPLAY も) がないため、ウィンドウを開けません。
画面のないところでは、同じ一括作成をコマンドライン版の zarame-cli で実行できます。
No display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open.
Without a display, the command-line runner zarame-cli runs the same batch:

    bash scripts/install-deps.sh --runtime
    bash scripts/build.sh zarame-cli
    mkdir -p /tmp/zarame-out
    build/bin/zarame-cli --source=numbers --fixed-text=file --extension=.dat \
        --min=1 --max=100 --digits=3 --folder=/tmp/zarame-out --kind=file --size=1000 --fill=0x41
    build/bin/zarame-cli --help
MESSAGE
    exit 1
fi
bash scripts/install-deps.sh --runtime
bash scripts/build.sh zarame zarame-cli
exec ./build/bin/zarame "$@"
