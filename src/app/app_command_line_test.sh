#!/usr/bin/env bash
# zarame --help, --version and an unknown option, run as a user would without any display: each
# answers and exits at once instead of opening (or failing to open) the window.
set -u
program=$1 version=$2
failures=0
check() {  # DESCRIPTION EXPECTED-STATUS STATUS EXPECTED-TEXT TEXT
    if [ "$3" != "$2" ] || [[ "$5" != *"$4"* ]]; then
        printf 'FAIL %s: status %s (want %s), output:\n%s\n' "$1" "$3" "$2" "$5"
        failures=$((failures + 1))
    fi
}
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$program" "$@"; }

out=$(run --version 2>&1); check --version 0 $? "zarame $version" "$out"
[ "$out" = "zarame $version" ] || check "--version alone on its line" x y "" "$out"
out=$(run --help 2>/dev/null); check --help 0 $? "使い方: zarame" "$out"
out=$(run --bogus 2>&1 >/dev/null); check --bogus 2 $? "zarame: 不明なオプションです: --bogus" "$out"
[[ "$out" == *"使い方: zarame"* ]] || check "usage after the refusal" x y "" "$out"
out=$(run -platform offscreen --help 2>&1); check "Qt's option beside --help" 0 $? "使い方" "$out"
exit "$failures"
