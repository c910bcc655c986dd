#!/bin/sh
# Compiles the help pages into QOBR.CHM. The pages are kept in UTF-8; a Chinese
# help file is read in the GBK code page (language 0x804), so the pages, the
# table of contents and the project are converted on the way (a character GBK
# cannot hold stops the build), and line ends inside Chinese text become breaks
# that show no blank (wrap-lines.pl). The index stays UTF-8: chmcmd reads it as
# UTF-8 when it writes the index the viewers show, and turns every character it
# cannot read that way into "?".
# Usage: build-chm.sh SOURCE_DIR STAGE_DIR OUTPUT_FILE
set -eu
src=$1 stage=$2 out=$3
rm -rf "$stage"
mkdir -p "$stage/images"
cp "$src"/*.css "$src"/*.hhk "$stage/"
cp "$src"/images/*.png "$stage/images/"
for f in "$src"/*.html; do
  perl "$src/wrap-lines.pl" < "$f" | sed 's/charset=utf-8/charset=gb2312/' |
    iconv -f UTF-8 -t GBK > "$stage/$(basename "$f")"
done
for f in "$src"/*.hhc "$src"/*.hhp; do
  sed 's/charset=utf-8/charset=gb2312/' "$f" | iconv -f UTF-8 -t GBK > "$stage/$(basename "$f")"
done
cd "$stage"
log=$(chmcmd --no-html-scan QOBR.hhp 2>&1) || { echo "$log" >&2; exit 1; }
case $log in
  *rror*|*arning*) echo "$log" >&2; exit 1 ;;
esac
[ -s QOBR.CHM ] || { echo "build-chm: chmcmd wrote no QOBR.CHM" >&2; exit 1; }
mv QOBR.CHM "$out"
