#!/usr/bin/env bash
# vomra-cli on large input: wall time and peak resident memory of the two trims
# over 20 MB of blank lines and over 15 MB of mixed GBK text, and of the art
# command drawing a long word at a large size.
#   bench/cli-large.sh          (needs a built build/)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli="$root/build/src/cli/vomra-cli"
[ -x "$cli" ] || { echo "cli-large: build first (scripts/build)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

head -c 20000000 /dev/zero | tr '\0' '\n' >"$work/blank.txt"
# Margins of half- and full-width blanks, words, trailing blanks: 300,000 lines.
awk 'BEGIN {
  for (i = 0; i < 300000; i++) {
    line = ""
    for (k = 0; k < i % 3; k++) line = line "　"
    for (k = 0; k < i % 5; k++) line = line " "
    for (k = 0; k <= i % 4; k++) line = line "艺术字 ab ★ "
    print line "　 "
  }
}' >"$work/mixed.txt"
word=$(printf '艺%.0s' $(seq 1000))

measure() { # label, then the command; input from $input
  local t0 t1
  t0=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$@" <"$input" >/dev/null 2>&1
  t1=$(date +%s%N)
  printf '%-34s %8d ms %8d KiB\n' "$label" $(((t1 - t0) / 1000000)) "$(cat "$work/rss")"
}
input="$work/blank.txt" label="trim-left, 20 MB blank lines" measure "$cli" trim-left
input="$work/blank.txt" label="trim-right, 20 MB blank lines" measure "$cli" trim-right
input="$work/mixed.txt" label="trim-left, 15 MB mixed text" measure "$cli" trim-left
input="$work/mixed.txt" label="trim-right, 15 MB mixed text" measure "$cli" trim-right
input=/dev/null label="art --size 100, 1000 characters" measure "$cli" art --size 100 "$word"
