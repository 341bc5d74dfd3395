#!/usr/bin/env bash
# Sources the completion as bash-completion would and asks it what a user's Tab would ask.
set -u
source "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/out" "$work/old"
touch "$work/names.txt" "$work/other.csv"
cd "$work"

failures=0
complete_line() {  # WORD... : completes the last word, as bash splits the line
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMPREPLY=()
    _zarame_cli zarame-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expect() {  # DESCRIPTION EXPECTED ACTUAL
    [ "$2" = "$3" ] || { echo "FAIL $1: want '$2', got '$3'"; failures=$((failures + 1)); }
}

expect "options" "--dry-run " "$(complete_line zarame-cli --dr)"
expect "options with a value" "--fill= --fixed-text= --folder= " "$(complete_line zarame-cli --f)"
expect "choice after =" "copy " "$(complete_line zarame-cli --kind = c)"
expect "choice as the next word" "numbers " "$(complete_line zarame-cli --source n)"
expect "fill values" "random random: " "$(complete_line zarame-cli --fill = r)"
expect "files for --text" "names.txt " "$(complete_line zarame-cli --text = n)"
expect "folders for --folder" "old out " "$(complete_line zarame-cli --folder = '')"
expect "flags take no value" "--parents " "$(complete_line zarame-cli --dry-run --pa)"
exit "$failures"
