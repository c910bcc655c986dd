#!/usr/bin/env bash
# Reads the compiled help file back with a CHM reader and checks that every
# page, the table of contents, the index and every picture are inside, that each
# page is the source page, and that every link and picture reference resolves,
# anchors included. Reads the compiled index (every keyword of QOBR.hhk, in
# readable Chinese, leading to a page that has the word) and the full-text
# search words (every Latin word of the pages). chmcmd's search index holds only
# the letters a-z and digits, so Chinese is found through the index.
# Usage: check-chm.sh QOBR.CHM HELP_SOURCE_DIR
set -euo pipefail
chm=$1 src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
bad() { echo "check-chm: $*" >&2; fail=1; }

extract_chmLib "$chm" "$work/chm" >/dev/null 2>&1 || { echo "check-chm: cannot read $chm" >&2; exit 1; }
out=$work/chm
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
for f in "$out"/*.html "$out"/*.hhc; do
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
    *.html) perl "$src/wrap-lines.pl" < "$src/$f" | sed 's/charset=utf-8/charset=gb2312/' |
              cmp -s - "$out/$f.utf8" || bad "$f differs from its source" ;;
    *) cmp -s "$src/$f" "$out/$f" || bad "$f differs from its source" ;;
  esac
done

# A line end after Chinese text shows as a stray blank.
for f in "$out"/*.html; do
  perl -CSD -0777 -ne 's/\A.*?<body[^>]*>//s; exit(/[^\x00-\x7f]\n/ ? 1 : 0)' "$f.utf8" ||
    bad "$(basename "$f") breaks a line after Chinese text"
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
  [ -f "$out/$f.utf8" ] || iconv -f UTF-8 -t UTF-8 "$out/$f" > "$out/$f.utf8" || bad "$f is not UTF-8"
  for ref in $(grep -oE 'name="Local" value="[^"]*"' "$out/$f.utf8" | sed -E 's/.*value="(.*)"$/\1/'); do
    resolves "$f" "$ref"
  done
done
# Every picture is shown by some page.
for img in $(cd "$src" && ls images/*.png); do
  grep -qF "src=\"$img\"" "$out"/*.html.utf8 || bad "$img is shown by no page"
done

# The compiled index is the one the viewers show: every keyword, readable.
keys=$(python3 "$here/chm_read.py" index "$out/\$WWKeywordLinks/BTree") || bad "cannot read the compiled index"
grep -F '?' <<<"$keys" | sed 's/^/check-chm: mangled keyword: /' >&2 && fail=1
sed -n 's/.*name="Name" value="\([^"]*\)".*/\1/p' "$src/QOBR.hhk" | sed 's/&amp;/\&/g' | sort > "$work/hhk-names"
sort <<<"$keys" > "$work/keys"
diff "$work/hhk-names" "$work/keys" > "$work/keys-diff" || bad "the compiled index differs from QOBR.hhk: $(head -n 8 "$work/keys-diff" | tr '\n' ' ')"
# The common viewer lists a keyword that starts with a number and a blank twice,
# once cut after the blank.
grep -E '^[0-9]+ ' "$work/keys" | sed 's/^/check-chm: keyword starts with a number and a blank: /' >&2 && fail=1
[ "$(wc -l < "$work/keys")" -ge 120 ] || bad "the index has only $(wc -l < "$work/keys") keywords"
# Each keyword leads to a page that has the word (blanks aside).
sed -n 's/.*name="Name" value="\([^"]*\)"><param name="Local" value="\([^"#]*\).*/\2 \1/p' "$src/QOBR.hhk" |
  while read -r page key; do
    key=${key//&amp;/&}
    perl -CSD -0777 -pe 's/<[^>]+>//g; s/&gt;/>/g; s/&lt;/</g; s/&amp;/&/g; s/\s+//g' "$src/$page" |
      grep -F -- "${key// /}" >/dev/null || echo "$key ($page)"
  done > "$work/astray"
[ -s "$work/astray" ] && bad "index keywords not on their page: $(tr '\n' ' ' < "$work/astray")"

# The search data holds every Latin word of the pages.
python3 "$here/chm_read.py" search "$out/\$FIftiMain" | sort -u > "$work/searchable" || bad "cannot read the search data"
for f in $listed; do
  case $f in *.html) perl -CSD -0777 -pe 's/<[^>]+>/ /g; s/&\w+;/ /g' "$src/$f" ;; esac
done | tr 'A-Z' 'a-z' | grep -oE '[a-z0-9]+' | sort -u > "$work/latin"
comm -23 "$work/latin" "$work/searchable" > "$work/unsearchable"
[ -s "$work/unsearchable" ] && bad "words the search cannot find: $(tr '\n' ' ' < "$work/unsearchable")"

[ $fail -eq 0 ] && echo "check-chm: ok ($(wc -w <<<"$listed") files, $(wc -l < "$work/keys") index keywords, $(wc -l < "$work/searchable") search words)"
exit $fail
