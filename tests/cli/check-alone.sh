#!/usr/bin/env bash
# vomra-cli is one executable: it names no Qt library and no run path, a copy
# of it alone in an empty folder does what the built one does, and the
# libraries one command needs are opened by that command only: ICU by width,
# fontconfig only when the font cache cannot answer, libX11 and
# libwayland-client by send.
# Usage: check-alone.sh VOMRA_CLI GRIND_FIXTURES
set -euo pipefail
cli=$1 data=$2
fail() { echo "check-alone: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

needed=$(readelf -d "$cli" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$needed" ] || fail "readelf found no libraries in $cli"
lazy='libX11|libXtst|libwayland|libicu|libfontconfig'
if grep -E "^(libQt|$lazy)" <<<"$needed" >&2; then fail "$cli names the libraries above"; fi
readelf -d "$cli" | grep -E '\((RUNPATH|RPATH)\)' >&2 && fail "$cli has a run path"

mkdir "$work/alone"
cp "$cli" "$work/alone/vomra-cli"
same() { # same NAME INPUT ARGS...: output and status alike in the copy and the built one
  local name=$1 input=$2 got want gs=0 ws=0
  shift 2
  got=$(printf '%s' "$input" | "$work/alone/vomra-cli" "$@" 2>&1) || gs=$?
  want=$(printf '%s' "$input" | "$cli" "$@" 2>&1) || ws=$?
  [ -n "$got" ] || fail "$name gave nothing"
  [ "$got" = "$want" ] && [ "$gs" = "$ws" ] || fail "$name of the copy differs ($gs: $got / $ws: $want)"
}
same "art" "" art Vomra
same "art CJK" "" art --size 12 --bold 艺术字
same "width" $'■ab\nabc\n' width
same "width --fix" $'■ab\nabc\n' width --fix
same "grind JPEG" "" grind --ramp '#.' "$data/blocks.jpg"
same "grind PNG" "" grind --ramp '#.' "$data/picture.png"
same "grind bitmap" "" grind --ramp '#.' "$data/picture.bmp"
same "trim-right" $'ab  \n' trim-right
status=0
out=$(printf 'x\n' | env -u DISPLAY -u WAYLAND_DISPLAY "$work/alone/vomra-cli" send 2>&1) || status=$?
[ "$status" = 1 ] && [ "$out" = 'vomra-cli send: 我还没有找到QQ的窗口呢……:( (no X display)' ] ||
  fail "send of the copy with no display: $status: $out"

opened() { LD_DEBUG=files "$@" 2>&1 >/dev/null </dev/null | grep -oE 'file=[^ ]+' | sed 's/^file=//' | sort -u; }
libs=$(opened "$cli" --version)
grep -E "^($lazy)" <<<"$libs" && fail "--version opened the libraries above"
printf '■ab\n' >"$work/line.txt"
grep -q '^libicuuc' <<<"$(opened "$cli" width "$work/line.txt")" || fail "width did not open ICU: the check above proves nothing"
libs=$(printf 'x\n' | LD_DEBUG=files env -u WAYLAND_DISPLAY DISPLAY=:9999 "$cli" send 2>&1 >/dev/null | grep -oE 'file=[^ ]+' || true)
grep -q 'file=libX11' <<<"$libs" || fail "send did not open libX11"

# The font lookup is cached: fontconfig is opened when the cache misses and
# only then, and the answer drawn is the same either way.
cold=$(VOMRA_FONT_CACHE="$work/fonts" "$cli" art Vomra)
[ -s "$work/fonts" ] || fail "art left no font cache in $work/fonts"
warm=$(VOMRA_FONT_CACHE="$work/fonts" "$cli" art Vomra)
[ "$cold" = "$warm" ] || fail "art with a cold and a warm font cache differ"
rm "$work/fonts"
grep -q '^libfontconfig' <<<"$(opened env VOMRA_FONT_CACHE="$work/fonts" "$cli" art Vomra)" ||
  fail "art with no cache did not ask fontconfig"
libs=$(opened env VOMRA_FONT_CACHE="$work/fonts" "$cli" art 艺术字)
grep -E '^libfontconfig' <<<"$libs" && fail "art with a warm font cache opened fontconfig"
grep -q '^libfreetype' <<<"$libs" || fail "art loaded no FreeType: the check above proves nothing ($libs)"
exit 0
