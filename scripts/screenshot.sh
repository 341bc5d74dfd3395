#!/usr/bin/env bash
# Takes a screenshot of the main window under a virtual X server (Xvfb): a sequential batch of 100
# files has just run, so the preview, the log and the enabled inputs all show. Writes
# docs/screenshot.png (or the path given). Needs xvfb, xdotool and imagemagick (install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/screenshot.png}
bash scripts/build.sh >/dev/null

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
    # The program saves its settings as it closes: let it finish before the display goes.
    [ -n "${program:-}" ] && { kill "$program" 2>/dev/null; wait "$program" 2>/dev/null; } || true
    [ -n "${server:-}" ] && { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; } || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/config" "$work/out"
cat >"$work/config/Tobiuo.ini" <<INI
[KRB]
Type=2
FixedText=file
BeforeAfter=1
NumberMin=1
NumberMax=100
NumberSize=3
Extension=.dat
Folder=$work/out
FileCreateSpec=0
FileSizeBytes=1000
FileWriteCode=0x41
INI

Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done

export DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work LANG=C.UTF-8
./build/bin/zarame &
program=$!
window=$(xdotool search --sync --onlyvisible --name 'ざらめ' | head -n 1)
xdotool windowmove "$window" 0 0
xdotool windowfocus --sync "$window"
xdotool key alt+g
for _ in $(seq 100); do
    [ "$(find "$work/out" -name '*.dat' | wc -l)" -ge 100 ] && break
    sleep 0.1
done
sleep 0.5
mkdir -p "$(dirname "$output")"
import -display "$display" -window "$window" "$output"
echo "wrote $output"
