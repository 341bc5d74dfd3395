#!/usr/bin/env bash
# Times a batch of 100,000 folders started through the window (a click on "作成開始(&G)" under a
# virtual X server) against the same batch by zarame-cli, alternating, best of N rounds.
#
#   bash bench/window_benchmark.sh [rounds] [items]
#
# Every timed run gets a fresh tmpfs (as root), so no run meets the leftovers or the deletions of
# another, and the file system's cost is small next to the program's own: the ratio shows what
# the window adds. Without root, fresh folders under bench-data/ are used and deleted at the end.
# Window: from the click to the appearance of the last folder (polled every 10 ms), the window's
# start-up excluded. Command line: the whole process, start-up included, log lines to /dev/null.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
items=${2:-100000}
bash scripts/build.sh >/dev/null

work=$(mktemp -d)
display=:$((200 + RANDOM % 100))
mounts=()
cleanup() {
    [ -n "${program:-}" ] && { kill "$program" 2>/dev/null; wait "$program" 2>/dev/null; } || true
    [ -n "${server:-}" ] && { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; } || true
    for mount in "${mounts[@]}"; do umount "$mount" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# Sets $folder to a new, empty folder (a tmpfs of its own as root).
fresh_folder() {
    folder="$work/run$1"
    mkdir -p "$folder"
    if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=2g,nr_inodes=0 tmpfs "$folder"; then
        mounts+=("$folder")
    fi
}

# A pause without starting a process, so that polling takes no time from the programs measured.
exec {never}<> <(:)
pause() { read -r -t "$1" -u "$never" || true; }

now() { date +%s.%N; }

Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done

time_window() {
    local folder=$1 start end window
    mkdir -p "$work/config"
    cat >"$work/config/Tobiuo.ini" <<INI
[KRB]
Type=2
FixedText=d
NumberMin=1
NumberMax=$items
NumberSize=0
Folder=$folder
FileCreateSpec=2
INI
    DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work LANG=C.UTF-8 \
        ./build/bin/zarame &
    program=$!
    window=$(DISPLAY=$display xdotool search --sync --onlyvisible --name 'ざらめ' | head -n 1)
    DISPLAY=$display xdotool windowmove --sync "$window" 0 0
    # The middle of "作成開始(&G)": 6120, 6240, 1455 x 375 twips at 15 twips to the pixel.
    DISPLAY=$display xdotool mousemove --sync 456 428
    sleep 0.3
    start=$(now)
    DISPLAY=$display xdotool click 1
    while [ ! -d "$folder/d$items" ]; do pause 0.01; done
    end=$(now)
    DISPLAY=$display xdotool key --window "$window" Escape 2>/dev/null || true
    sleep 0.2
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=
    echo "$end - $start" | bc
}

time_cli() {
    local folder=$1 start end
    start=$(now)
    ./build/bin/zarame-cli --source=numbers --fixed-text=d --min=1 --max="$items" --digits=0 \
        --folder="$folder" --kind=folder >/dev/null
    end=$(now)
    echo "$end - $start" | bc
}

best_window=
best_cli=
printf '%-6s %12s %12s\n' round window_s cli_s
for round in $(seq "$rounds"); do
    fresh_folder "w$round"
    window_seconds=$(time_window "$folder")
    fresh_folder "c$round"
    cli_seconds=$(time_cli "$folder")
    printf '%-6s %12.3f %12.3f\n' "$round" "$window_seconds" "$cli_seconds"
    if [ -z "$best_window" ] || (($(echo "$window_seconds < $best_window" | bc))); then
        best_window=$window_seconds
    fi
    if [ -z "$best_cli" ] || (($(echo "$cli_seconds < $best_cli" | bc))); then
        best_cli=$cli_seconds
    fi
done
printf '%-6s %12.3f %12.3f\n' best "$best_window" "$best_cli"
printf 'window / command line: %.2f (target: at most 1.30)\n' "$(echo "$best_window / $best_cli" | bc -l)"
