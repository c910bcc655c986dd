#!/usr/bin/env bash
# Reads the compiled help file back with a CHM reader and checks that every
# page, the table of contents, the index and every picture are inside, that each
# page is the source page, and that every link and picture reference resolves,
# anchors included.
# Usage: check-chm.sh QOBR.CHM HELP_SOURCE_DIR
set -euo pipefail
chm=$1 src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
bad() { echo "check-chm: $*" >&2; fail=1; }

extract_chmLib "$chm" "$work/chm" >/dev/null 2>&1 || { echo "check-chm: cannot read $chm" >&2; exit 1; }
out=$work/chm
for f in "$out"/*.html "$out"/*.hhc "$out"/*.hhk; do
  [ -e "$f" ] || continue
  iconv -f GBK -t UTF-8 "$f" > "$f.utf8" || bad "$(basename "$f") is not GBK text"
done

# Every file the project names must be inside, and everything of ours that could
# be named must be named.
listed=$(sed -n '/^\[FILES\]/,/^\[/p' "$src/QOBR.hhp" | grep -v '^\[' | grep -v '^$' || true)
for f in $listed; do
  [ -f "$out/$f" ] || bad "$f is listed but not inside the help file"
done
(cd "$src" && ls *.html *.css images/*.png) | while read -r f; do
  grep -qxF "$f" <<<"$listed" || echo "$f"
done > "$work/unlisted"
[ -s "$work/unlisted" ] && bad "not listed in QOBR.hhp: $(tr '\n' ' ' < "$work/unlisted")"

# Pages are the source pages (in GBK); pictures and style are byte for byte.
for f in $listed; do
  [ -f "$out/$f" ] || continue
  case $f in
    *.html) sed 's/charset=utf-8/charset=gb2312/' "$src/$f" | cmp -s - "$out/$f.utf8" || bad "$f differs from its source" ;;
    *) cmp -s "$src/$f" "$out/$f" || bad "$f differs from its source" ;;
  esac
done

# The table of contents and the index are inside, and every page is in the contents.
for f in QOBR.hhc QOBR.hhk; do [ -f "$out/$f" ] || bad "$f is not inside the help file"; done
for page in $(cd "$src" && ls *.html); do
  grep -q "name=\"Local\" value=\"$page\"" "$out/QOBR.hhc.utf8" 2>/dev/null || bad "$page is not in the table of contents"
done
grep -aq 'start.html' "$out/#SYSTEM" || bad "the first page is not start.html"

# resolves FROM TARGET: the target file exists inside and its anchor is in it.
resolves() {
  local from=$1 target=$2 file anchor
  case $target in http:*|https:*|mailto:*) return 0 ;; esac
  file=${target%%#*}
  anchor=
  [[ $target == *#* ]] && anchor=${target#*#}
  [ -n "$file" ] || file=$from
  if [ ! -f "$out/$file" ]; then bad "$from: $target leads nowhere"; return; fi
  if [ -n "$anchor" ] && ! grep -Eq "(id|name)=\"$anchor\"" "$out/$file.utf8"; then
    bad "$from: $target has no anchor \"$anchor\""
  fi
}
for f in "$out"/*.html; do
  page=$(basename "$f")
  for ref in $(grep -oE '(href|src)="[^"]*"' "$f.utf8" | sed -E 's/^(href|src)="(.*)"$/\2/'); do
    resolves "$page" "$ref"
  done
done
for f in QOBR.hhc QOBR.hhk; do
  for ref in $(grep -oE 'name="Local" value="[^"]*"' "$out/$f.utf8" | sed -E 's/.*value="(.*)"$/\1/'); do
    resolves "$f" "$ref"
  done
done
# Every picture is shown by some page.
for img in $(cd "$src" && ls images/*.png); do
  grep -qF "src=\"$img\"" "$out"/*.html.utf8 || bad "$img is shown by no page"
done

[ $fail -eq 0 ] && echo "check-chm: ok ($(wc -w <<<"$listed") files)"
exit $fail
