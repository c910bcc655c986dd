#!/usr/bin/env bash
# vomra-cli loads FreeType and fontconfig, ICU, libjpeg and libpng only in the
# module of the command that needs them: at start it maps none of them; art,
# width and the JPEG and PNG grind give what the helper (everything linked in)
# gives; fontconfig is loaded only when the font cache cannot answer; and a
# module that is missing or cannot be loaded is a plain error.
# Usage: check-modules.sh VOMRA_CLI GRIND_FIXTURES
set -euo pipefail
cli=$1 data=$2
helper="$(dirname "$cli")/vomra-cli-qt"
fail() { echo "check-modules: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ldd "$cli" | grep -E 'libfreetype|libfontconfig|libicu|libjpeg|libpng' >&2; then
  fail "$cli links the libraries above at start"
fi

same() { # same NAME INPUT ARGS...: stdout and status alike in vomra-cli and the helper
  local name=$1 input=$2 got want gs=0 ws=0
  shift 2
  got=$(printf '%s' "$input" | "$cli" "$@" 2>&1) || gs=$?
  want=$(printf '%s' "$input" | "$helper" "$@" 2>&1) || ws=$?
  [ -n "$got" ] || fail "$name gave nothing"
  [ "$got" = "$want" ] && [ "$gs" = "$ws" ] || fail "$name differs from the helper's ($gs: $got / $ws: $want)"
}
same "art" "" art Vomra
same "art CJK" "" art --size 12 --bold 艺术字
same "width" $'■ab\nabc\n' width
same "width --fix" $'■ab\nabc\n' width --fix
same "grind JPEG" "" grind --ramp '#.' "$data/blocks.jpg"
same "grind PNG" "" grind --ramp '#.' "$data/picture.png"
same "grind cut PNG" "" grind "$data/cut.png"

# The font lookup is cached: fontconfig is loaded when the cache misses and
# only then, and the answer drawn is the same either way. No C++ runtime is
# loaded for art either (vomra-cli and its modules carry their own).
loaded() { LD_DEBUG=files "$@" 2>&1 >/dev/null | grep -oE 'file=[^ ]+' | sed 's/^file=//' | sort -u; }
cold=$(VOMRA_FONT_CACHE="$work/fonts" "$cli" art Vomra)
[ -s "$work/fonts" ] || fail "art left no font cache in $work/fonts"
warm=$(VOMRA_FONT_CACHE="$work/fonts" "$cli" art Vomra)
[ "$cold" = "$warm" ] && [ "$cold" = "$("$helper" art Vomra)" ] || fail "art with a cold and a warm font cache differ"
rm "$work/fonts"
libs=$(loaded env VOMRA_FONT_CACHE="$work/fonts" "$cli" art Vomra)
grep -q '^libfontconfig' <<<"$libs" || fail "art with no cache did not ask fontconfig"
libs=$(loaded env VOMRA_FONT_CACHE="$work/fonts" "$cli" art 艺术字)
# The sanitizers' own runtime brings libstdc++.so into a sanitizer build.
unwanted='libfontconfig|libstdc\+\+'
[[ "$(ldd "$cli")" == *libasan* ]] && unwanted='libfontconfig'
grep -E "^($unwanted)" <<<"$libs" && fail "art with a warm font cache loaded the libraries above"
grep -q '^libfreetype' <<<"$libs" || fail "art loaded no FreeType: the check above proves nothing ($libs)"

# A copy without its modules, then with modules that are no shared objects.
cp "$cli" "$work/vomra-cli"
check_broken() {
  local why=$1 out status
  for cmd in "art Vomra" "width" "grind $data/blocks.jpg"; do
    local module=${cmd%% *}
    [ "$module" = grind ] && module=picture
    status=0
    # shellcheck disable=SC2086
    out=$(printf 'a\n' | "$work/vomra-cli" $cmd 2>&1 >/dev/null) || status=$?
    [ "$status" = 1 ] || fail "$why: '$cmd' exited with $status, not 1 ($out)"
    grep -q "^vomra-cli ${cmd%% *}: cannot load .*vomra-cli-$module.so" <<<"$out" || fail "$why: '$cmd' said: $out"
  done
  # What needs no module still works.
  "$work/vomra-cli" grind --ramp '#.' "$data/picture.bmp" >/dev/null || fail "$why: grind of a bitmap failed"
}
check_broken "no modules"
for m in art width picture; do printf 'not a module\n' >"$work/vomra-cli-$m.so"; done
check_broken "broken modules"
# A shared object without the entry point.
for m in art width picture; do cp "$(dirname "$cli")/vomra-cli-art.so" "$work/vomra-cli-$m.so"; done
out=$("$work/vomra-cli" width </dev/null 2>&1) && fail "width with the art module succeeded"
grep -q "it has no vomra_cli_width" <<<"$out" || fail "width with the art module said: $out"
exit 0
