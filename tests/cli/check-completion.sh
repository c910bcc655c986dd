#!/usr/bin/env bash
# The bash completion of vomra-cli offers what `vomra-cli --help` and each
# command's --help list: the commands, each command's options, and the values
# of an option written as A|B.
# Usage: check-completion.sh VOMRA_CLI COMPLETION_FILE
set -uo pipefail
cli=$1 completion=$2
source /usr/share/bash-completion/bash_completion || { echo "check-completion: bash-completion is not installed" >&2; exit 1; }
source "$completion"
fail=0

# offers WORD... : what completing the last word (possibly empty) offers.
offers() {
  COMP_WORDS=(vomra-cli "$@")
  COMP_CWORD=$(( ${#COMP_WORDS[@]} - 1 ))
  COMP_LINE="${COMP_WORDS[*]}"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _vomra_cli vomra-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
  printf '%s\n' "${COMPREPLY[@]}"
}
expect() { # expect WANTED WORD...
  local wanted=$1; shift
  offers "$@" | grep -xF -- "$wanted" >/dev/null || { echo "check-completion: 'vomra-cli $*' does not offer $wanted" >&2; fail=1; }
}

commands=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | grep -oE '^  [a-z][a-z-]*' | tr -d ' ')
for c in $commands; do
  expect "$c" ""
  usage=$("$cli" "$c" --help)
  for o in $(grep -oE -- '(^|[ [])--[a-z][a-z-]*' <<<"$usage" | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    expect "$o" "$c" --
    # Values written right after the option: --gray standard|94|custom
    for v in $(grep -oE -- "$o [a-z0-9-]+(\|[a-z0-9-]+)+" <<<"$usage" | head -n 1 | cut -d' ' -f2 | tr '|' ' '); do
      expect "$v" "$c" "$o" ""
    done
  done
done
[ $fail -eq 0 ] && echo "check-completion: ok ($(wc -w <<<"$commands") commands)"
exit $fail
