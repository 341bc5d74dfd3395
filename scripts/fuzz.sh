#!/usr/bin/env bash
# Builds the fuzzers with clang into build-fuzz/ and runs each for SECONDS (default 600), one
# after another, at the lowest priority. Needs clang-14 and libclang-rt-14-dev.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]   TARGET: xlsx xls ods csv numformat (default all)
#
# Corpora grow in build-fuzz/corpus/<target> (seeded from src/workbook/testdata, and for the
# number formats from the rows of their rendering table); crashes are written to
# build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
formats=("$@")
[ ${#formats[@]} -gt 0 ] || formats=(xlsx xls ods csv numformat)
[ -f build-fuzz/build.ninja ] ||
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DZARAME_FUZZ=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz --target $(printf 'fuzz_%s ' "${formats[@]}")
for format in "${formats[@]}"; do
    corpus=build-fuzz/corpus/$format
    findings=build-fuzz/findings/$format
    mkdir -p "$corpus" "$findings"
    case $format in
        xls | csv) cp -n src/workbook/testdata/*."$format" "$corpus"/ 2>/dev/null || true ;;
        xlsx) for book in src/workbook/testdata/{crafted,openpyxl}.xlsx; do
                  { unzip -p "$book" 'xl/sharedStrings.xml' 'strings.xml' 2>/dev/null || true
                    printf '\0'
                    unzip -p "$book" 'xl/worksheets/sheet3.xml' 'book/sheets/two.xml' 2>/dev/null || true
                  } > "$corpus/seed-$(basename "$book")"
              done ;;
        numformat) perl fuzz/numformat_seeds.pl src/numformat/format_table_test.cpp "$corpus" ;;
        ods) for book in src/workbook/testdata/*.ods; do
                 { unzip -p "$book" content.xml; printf '\0'; unzip -p "$book" settings.xml 2>/dev/null || true
                 } > "$corpus/seed-$(basename "$book")"
             done ;;
    esac
    nice -n 19 "build-fuzz/bin/fuzz_$format" "$corpus" -max_total_time="$seconds" -rss_limit_mb=1024 \
        -timeout=10 -max_len=262144 -artifact_prefix="$findings/" -print_final_stats=1 \
        2>&1 | tee "build-fuzz/fuzz-$format.log" | grep -E '^(stat::|#[0-9]+ *DONE|==[0-9]+==ERROR|SUMMARY)' || true
done
