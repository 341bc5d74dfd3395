#!/usr/bin/env bash
# Times zarame-cli against what a user could run instead, and against the one-call floor, on a
# freshly made ext4 file system (creating files right after a mass deletion is slower for
# minutes, so nothing is deleted until the end). Runs alternate; the best of the rounds counts.
#
#   bash bench/peers.sh [build-folder] [items] [rounds]      (as root: it mounts a loop image)
#
# ZARAME_BENCH_IMAGE_FOLDER puts the image elsewhere than /var/tmp: /dev/shm keeps a busy disk
# out of the figures (the image then takes up to 7 GB of memory at 100,000 items).
# ZARAME_PEERS_OLD_BUILD=folder makes that build's zarame-cli the peer of every kind, to compare
# two builds. Ours and the peer take turns going first, round by round: the one that runs second
# meets a fuller file system, which alone has shown as a difference of 5%.
set -euo pipefail
build=$(realpath "${1:-build}")
items=${2:-100000}
rounds=${3:-3}
cli=$build/bin/zarame-cli
bench=$build/bin/zarame-bench

source "$(dirname "$0")/fresh_ext4.sh"
MountFreshExt4 peers 16G 6000000
head -c 1000 /dev/zero | tr '\0' 'A' >"$mountPoint/source.dat"

fresh() {
    mktemp -d "$mountPoint/run-XXXXXX"
    sync
}
seconds() {
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null || return 1
    end=$(date +%s.%N)
    echo "$start $end" | awk '{ printf "%.3f", $2 - $1 }'
}

ours() {  # kind size folder
    "$cli" --source=numbers --min=1 --max="$items" --digits=6 --fixed-text=f --extension=.dat \
        --kind="$1" --size="$2" --fill=0x41 --copy-source="$mountPoint/source.dat" --folder="$3"
}
oldBuild() {  # kind size folder
    "${ZARAME_PEERS_OLD_BUILD}/bin/zarame-cli" --source=numbers --min=1 --max="$items" --digits=6 \
        --fixed-text=f --extension=.dat --kind="$1" --size="$2" --fill=0x41 \
        --copy-source="$mountPoint/source.dat" --folder="$3"
}
xargsMkdir() { seq -f "$1/f%06g.dat" 1 "$items" | xargs mkdir; }
xargsTouch() { seq -f "$1/f%06g.dat" 1 "$items" | xargs touch; }
pythonLoop() {
    python3 -c '
import sys
folder, count = sys.argv[1], int(sys.argv[2])
content = b"A" * 1000
for number in range(1, count + 1):
    with open("%s/f%06d.dat" % (folder, number), "xb") as item:
        item.write(content)
' "$1" "$items"
}
floor() { "$bench" floor "$1" "$2" "$items" "$mountPoint/source.dat"; }

declare -A best
measure() {  # name command...
    local name=$1 time
    shift
    time=$(seconds "$@" "$(fresh)") || { echo "failed: $name" >&2; exit 1; }
    local previous=${best[$name]:-}
    if [ -z "$previous" ] || awk -v a="$time" -v b="$previous" 'BEGIN { exit !(a < b) }'; then
        best[$name]=$time
    fi
}

if [ -n "${ZARAME_PEERS_OLD_BUILD:-}" ]; then
    ZARAME_PEERS_OLD_BUILD=$(realpath "$ZARAME_PEERS_OLD_BUILD")
    peers=("oldBuild folder 0" "oldBuild file 0" "oldBuild file 1000" "oldBuild copy 0")
else
    peers=(xargsMkdir xargsTouch pythonLoop "")
fi
pair() {  # round key peer ours-arguments...
    local round=$1 key=$2 peer=$3
    shift 3
    if [ $((round % 2)) -eq 0 ] && [ -n "$peer" ]; then
        measure "$key peer" $peer
    fi
    measure "$key ours" ours "$@"
    if [ $((round % 2)) -eq 1 ] && [ -n "$peer" ]; then
        measure "$key peer" $peer
    fi
}

for round in $(seq 1 "$rounds"); do
    pair "$round" folders "${peers[0]}" folder 0
    measure "folders floor" floor folder
    pair "$round" empty "${peers[1]}" file 0
    measure "empty floor" floor empty
    pair "$round" 1000 "${peers[2]}" file 1000
    measure "1000 floor" floor file1000
    pair "$round" copies "${peers[3]}" copy 0
    measure "copies floor" floor copy
done

printf '\n%d items, best of %d rounds, seconds (the floor times its own loop only)\n' "$items" "$rounds"
printf '%-22s %8s %8s %8s %11s %12s\n' kind ours peer floor ours/peer ours/floor
row() {  # title key
    local ours=${best["$2 ours"]} floor=${best["$2 floor"]} peer=${best["$2 peer"]:-}
    awk -v t="$1" -v o="$ours" -v p="$peer" -v f="$floor" 'BEGIN {
        printf "%-22s %8.3f %8s %8.3f %11s %12.3f\n", t, o, (p == "" ? "-" : sprintf("%.3f", p)),
            f, (p == "" ? "-" : sprintf("%.3f", o / p)), o / f }'
}
if [ -n "${ZARAME_PEERS_OLD_BUILD:-}" ]; then
    echo "peer: $ZARAME_PEERS_OLD_BUILD/bin/zarame-cli"
    row "folders" folders
    row "empty files" empty
    row "1000 B files" 1000
    row "duplicates of 1000 B" copies
else
    row "folders (xargs mkdir)" folders
    row "empty (xargs touch)" empty
    row "1000 B (python loop)" 1000
    row "duplicates of 1000 B" copies
fi
