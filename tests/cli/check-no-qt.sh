#!/usr/bin/env bash
# vomra-cli starts without Qt: it links no Qt library; grind gives what the
# helper program (which has Qt, for send) gives, and send reaches the helper.
# Usage: check-no-qt.sh VOMRA_CLI PICTURE
set -euo pipefail
cli=$1 picture=$2
if ldd "$cli" | grep -iE 'libQt' >&2; then
  echo "check-no-qt: $cli links the libraries above" >&2
  exit 1
fi
want=$("$(dirname "$cli")/vomra-cli-qt" grind --ramp '#.' "$picture")
got=$("$cli" grind --ramp '#.' "$picture")
[ -n "$got" ] || { echo "check-no-qt: vomra-cli grind gave nothing" >&2; exit 1; }
[ "$got" = "$want" ] || { echo "check-no-qt: vomra-cli grind differs from its helper's" >&2; exit 1; }
# Both a Qt-free command and the help of a helper command answer in vomra-cli.
[ "$(printf 'ab  \n' | "$cli" trim-right)" = "ab" ] || { echo "check-no-qt: trim-right failed" >&2; exit 1; }
# (read whole: grep -q stopping early would let a pipe close under it)
help=$("$cli" send --help)
grep -q '^Usage: vomra-cli send' <<<"$help" || { echo "check-no-qt: send --help failed" >&2; exit 1; }
# With no display, send fails in the helper with its own message, not in vomra-cli.
out=$(printf 'x\n' | DISPLAY= "$cli" send 2>&1) && { echo "check-no-qt: send without a display succeeded" >&2; exit 1; }
grep -q 'cannot start' <<<"$out" && { echo "check-no-qt: $out" >&2; exit 1; }
exit 0
