#!/usr/bin/env bash
# Times random files against files of a fill value (zarame-bench random) on a freshly made ext4,
# so that no run meets the inodes another freed; nothing is deleted until the end.
#
#   bash bench/random_fill.sh [build-folder]      (as root: it mounts a loop image)
#
# ZARAME_BENCH_IMAGE_FOLDER puts the image elsewhere than /var/tmp (/dev/shm keeps a busy disk
# out of the figures; the image then takes up to 4 GB of memory). ZARAME_BENCH_ROUNDS as for
# zarame-bench.
set -euo pipefail
build=$(realpath "${1:-build}")
imageFolder=${ZARAME_BENCH_IMAGE_FOLDER:-/var/tmp}
image=$(mktemp "$imageFolder/zarame-random-XXXXXX.img")
mountPoint=$(mktemp -d "$imageFolder/zarame-random-XXXXXX")
cleanup() {
    umount "$mountPoint" 2>/dev/null || true
    rm -f "$image"
    rmdir "$mountPoint"
}
trap cleanup EXIT
truncate -s 8G "$image"
mkfs.ext4 -q -F -N 2000000 "$image"
mount -o loop "$image" "$mountPoint"
"$build/bin/zarame-bench" random "$mountPoint/bench"
