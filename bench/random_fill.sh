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
source "$(dirname "$0")/fresh_ext4.sh"
MountFreshExt4 random 8G 2000000
"$build/bin/zarame-bench" random "$mountPoint/bench"
