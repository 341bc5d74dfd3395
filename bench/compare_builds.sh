#!/usr/bin/env bash
# Times two builds of zarame-cli against each other on 1,000-byte files, changing which goes first
# every round, on a freshly made ext4 (see peers.sh, whose set-up this shares).
#
#   bash bench/compare_builds.sh NEW-build-folder [items] [rounds] OLD-build-folder   (as root)
#
# ZARAME_BENCH_IMAGE_FOLDER puts the image elsewhere than /var/tmp.
set -euo pipefail
build=$(realpath "${1:-build}")
items=${2:-100000}
rounds=${3:-3}
cli=$build/bin/zarame-cli
old=$(realpath "${4:?the build folder of the older zarame-cli}")/bin/zarame-cli
bench=$build/bin/zarame-bench

imageFolder=${ZARAME_BENCH_IMAGE_FOLDER:-/var/tmp}
image=$(mktemp "$imageFolder/zarame-peers-XXXXXX.img")
mountPoint=$(mktemp -d "$imageFolder/zarame-peers-XXXXXX")
cleanup() {
    umount "$mountPoint" 2>/dev/null || true
    rm -f "$image"
    rmdir "$mountPoint"
}
trap cleanup EXIT
truncate -s 16G "$image"
mkfs.ext4 -q -F -N 6000000 "$image"
mount -o loop "$image" "$mountPoint"
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

olds() {  # kind size folder
    "$old" --source=numbers --min=1 --max="$items" --digits=6 --fixed-text=f --extension=.dat \
        --kind="$1" --size="$2" --fill=0x41 --copy-source="$mountPoint/source.dat" --folder="$3"
}
ours() {  # kind size folder
    "$cli" --source=numbers --min=1 --max="$items" --digits=6 --fixed-text=f --extension=.dat \
        --kind="$1" --size="$2" --fill=0x41 --copy-source="$mountPoint/source.dat" --folder="$3"
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

for round in $(seq 1 "$rounds"); do
    if [ $((round % 2)) -eq 1 ]; then
        measure "1000 peer" olds file 1000
        measure "1000 ours" ours file 1000
    else
        measure "1000 ours" ours file 1000
        measure "1000 peer" olds file 1000
    fi
    measure "1000 floor" floor file1000
done

printf '\n%d items, best of %d rounds, seconds (the floor times its own loop only)\n' "$items" "$rounds"
printf '%-22s %8s %8s %8s %11s %12s\n' kind new old floor new/old new/floor
row() {  # title key
    local ours=${best["$2 ours"]} floor=${best["$2 floor"]} peer=${best["$2 peer"]:-}
    awk -v t="$1" -v o="$ours" -v p="$peer" -v f="$floor" 'BEGIN {
        printf "%-22s %8.3f %8s %8.3f %11s %12.3f\n", t, o, (p == "" ? "-" : sprintf("%.3f", p)),
            f, (p == "" ? "-" : sprintf("%.3f", o / p)), o / f }'
}
row "1000 B files" 1000
