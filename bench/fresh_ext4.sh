# Sourced by the benchmark scripts: MountFreshExt4 NAME SIZE INODES makes an ext4 image of SIZE
# with INODES inodes in ZARAME_BENCH_IMAGE_FOLDER (default /var/tmp), mounts it (as root) and sets
# mountPoint; the image goes when the script exits. A file system made for the run has no inodes
# freed by an earlier mass deletion, which makes creating files several times slower for minutes.
MountFreshExt4() {
    local folder=${ZARAME_BENCH_IMAGE_FOLDER:-/var/tmp}
    image=$(mktemp "$folder/zarame-$1-XXXXXX.img")
    mountPoint=$(mktemp -d "$folder/zarame-$1-XXXXXX")
    trap 'umount "$mountPoint" 2>/dev/null || true; rm -f "$image"; rmdir "$mountPoint"' EXIT
    truncate -s "$2" "$image"
    mkfs.ext4 -q -F -N "$3" "$image"
    mount -o loop "$image" "$mountPoint"
}
