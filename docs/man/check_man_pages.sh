#!/usr/bin/env bash
# Formats each manual page as man (and lintian) does and as groff does with every warning on;
# any message is a failure. groff reads its input as Latin-1 unless told otherwise: -k runs it
# through preconv, as man does, so that the Japanese text arrives as itself.
set -u
failures=0
for page in "$@"; do
    messages=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
                   man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null
               groff -k -ww -man -Tutf8 -z "$page" 2>&1)
    if [ -n "$messages" ]; then
        printf 'FAIL %s:\n%s\n' "$page" "$messages"
        failures=$((failures + 1))
    fi
done
exit "$failures"
