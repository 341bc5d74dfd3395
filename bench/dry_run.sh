#!/usr/bin/env bash
# Times a dry run of 1,000,000 names (numbers, and the lines of a text list) into an empty folder:
# wall, user and system seconds and peak memory.
#
#   bash bench/dry_run.sh [build-folder]
set -euo pipefail
cli=$(realpath "${1:-build}")/bin/zarame-cli
work=$(mktemp -d /var/tmp/zdry-XXXXXX); mkdir "$work/out"
seq -f "name%07g.dat" 1 1000000 > "$work/names.txt"
for round in 1 2; do
  /usr/bin/time -f "numbers: %e s wall, %U s user, %S s sys, %M KiB peak" "$cli" --source=numbers --min=1 --max=1000000 --digits=7 --fixed-text=f --extension=.dat --kind=file --size=1000 --folder="$work/out" --dry-run --quiet 2>&1 | tail -2
  /usr/bin/time -f "text list: %e s wall, %U s user, %S s sys, %M KiB peak" "$cli" --source=text --text="$work/names.txt" --kind=file --size=1000 --folder="$work/out" --dry-run --quiet 2>&1 | tail -2
  /usr/bin/time -f "text list with log: %e s wall, %U s user, %S s sys, %M KiB peak" "$cli" --source=text --text="$work/names.txt" --kind=file --size=1000 --folder="$work/out" --dry-run 2>&1 >/dev/null | tail -2
done
ls "$work/out" | wc -l
rm -rf "$work"
