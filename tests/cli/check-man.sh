#!/usr/bin/env bash
# The manual page vomra-cli.1 documents everything `vomra-cli --help` offers:
# every command, every option, every value listed as A|B, and every exit code of
# the command line.
# Usage: check-man.sh VOMRA_CLI MAN_PAGE CLI_HEADER
set -euo pipefail
cli=$1 page=$2 header=$3
help=$("$cli" --help)
# One long line per paragraph, hyphens as typed.
man_text=$(LC_ALL=C.UTF-8 MANWIDTH=2000 man -l "$page" 2>/dev/null | sed 's/‐/-/g; s/−/-/g')
fail=0
missing() { echo "check-man: $page does not document $1" >&2; fail=1; }

commands=$(sed -n '/^Commands:/,/^$/p' <<<"$help" | grep -oE '^  [a-z][a-z-]*' | tr -d ' ')
[ -n "$commands" ] || { echo "check-man: no commands in --help" >&2; exit 1; }
for c in $commands; do
  grep -qE "^ {7}$c( |$)" <<<"$man_text" || missing "the command $c"
done
for o in $(grep -oE '(^|[ [])--?[a-z][a-z-]*' <<<"$help" | grep -oE -- '--?[a-z][a-z-]*' | sort -u); do
  grep -qF -- "$o" <<<"$man_text" || missing "the option $o"
done
for v in $(grep -oE '[a-z0-9-]+(\|[a-z0-9-]+)+' <<<"$help" | tr '|' '\n' | sort -u); do
  grep -qwF -- "$v" <<<"$man_text" || missing "the value $v"
done
status=$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' <<<"$man_text")
for code in $(grep -oE 'k[A-Za-z]+ = [0-9]+' "$header" | grep -oE '[0-9]+$'); do
  grep -qE "^ {7}$code\b" <<<"$status" || missing "the exit code $code"
done
[ $fail -eq 0 ] && echo "check-man: ok ($(wc -w <<<"$commands") commands)"
exit $fail
