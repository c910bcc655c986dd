#!/usr/bin/env bash
# Builds the Debian package (scripts/package, or the one VOMRA_DEB names) and
# has lintian check it: no errors, no warnings.
# Installs into a scratch prefix (DESTDIR), checks what is installed and
# validates the desktop entry, the AppStream file and the manual pages, then runs
# the installed vomra with a fresh HOME: it makes the user's program folder from
# the installed one, shows its window, writes QOBR.Ini there at close and leaves
# the prefix untouched. vomra-cli finds the same folder.
set -euo pipefail
build=${VOMRA_BUILD:?}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
fail() { echo "install: $*" >&2; exit 1; }

source "$root/tests/e2e/lib/package.bash"
deb=$(packageUnderTest) || fail "no package was built"
lintian --fail-on error,warning "$deb" > "$work/lintian" 2>&1 || { cat "$work/lintian" >&2; fail "lintian rejects $deb"; }
grep -E '^[EW]: ' "$work/lintian" >&2 && fail "lintian reports errors or warnings on $deb"
dpkg-deb -c "$deb" | awk '{print $NF}' > "$work/deb-files"
for f in ./usr/share/doc/vomra/copyright ./usr/share/doc/vomra/changelog.Debian.gz ./usr/share/man/man1/vomra.1.gz \
         ./usr/share/man/man1/vomra-cli.1.gz ./usr/share/bash-completion/completions/vomra-cli ./usr/share/vomra/QOBR.CHM; do
  grep -qxF "$f" "$work/deb-files" || fail "the package lacks $f"
done
grep -q 'License: GPL-3.0+' <(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/vomra/copyright) ||
  fail "the package's copyright file names no licence"

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
usr=$work/root/usr
for f in bin/vomra bin/vomra-cli share/vomra/QOBR.Ini share/vomra/QOBR.CHM share/applications/vomra.desktop \
         share/metainfo/org.vomra.vomra.metainfo.xml share/man/man1/vomra-cli.1.gz share/man/man1/vomra.1.gz \
         share/doc/vomra/copyright share/doc/vomra/changelog.Debian.gz share/bash-completion/completions/vomra-cli; do
  [ -f "$usr/$f" ] || fail "$f is not installed"
done
[ -f "$usr/share/vomra/Theme/Theme.Ini" ] || fail "the shipped themes are not installed"
for s in 16 24 32 48 64 128 256; do
  [ -f "$usr/share/icons/hicolor/${s}x${s}/apps/vomra.png" ] || fail "the ${s}x${s} icon is not installed"
done
if [ -d "$root/assets/recipes" ]; then
  (cd "$root/assets/recipes" && find . -type f ! -name README.md) | while read -r f; do
    cmp -s "$root/assets/recipes/$f" "$usr/share/vomra/$f" || fail "starter recipe $f is not installed"
  done
fi
desktop-file-validate "$usr/share/applications/vomra.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/org.vomra.vomra.metainfo.xml" >/dev/null
for page in vomra vomra-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the manual page $page.1 has warnings: $warnings"
done
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$usr/share/metainfo/org.vomra.vomra.metainfo.xml" ||
  fail "the AppStream file names another licence"
exec_line=$(sed -n 's/^Exec=//p' "$usr/share/applications/vomra.desktop")
[ "$exec_line" = vomra ] || fail "the desktop entry runs '$exec_line'"

# First start of the installed program with an empty home folder.
export HOME=$work/home
unset XDG_DATA_HOME
mkdir -p "$HOME"
user=$HOME/.local/share/vomra
touch "$work/before"
sleep 1
source "$root/tests/e2e/lib/window.bash"

openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
"$usr/bin/$exec_line" & pid=$!; pids+=($pid)
win=$(mainWindow) || fail "the main window did not appear"
for f in QOBR.Ini QOBR.CHM; do
  cmp -s "$usr/share/vomra/$f" "$user/$f" || fail "$f was not copied into $user"
done
[ -d "$user/Theme" ] || fail "Theme/ was not made in $user"
if [ -d "$root/assets/recipes" ]; then
  (cd "$root/assets/recipes" && find . -type f ! -name README.md) | while read -r f; do
    [ -f "$user/$f" ] || fail "starter recipe $f was not copied"
  done
fi
touch "$work/shown"
sleep 1 # file times move on
closeWithKeys "$win" $pid || fail "vomra did not close"
status=0; wait $pid || status=$?
[ $status -eq 0 ] || fail "vomra exited with status $status"
# The close wrote the user's settings (the same values as shipped, but anew),
# keeping the ramps.
[ -n "$(find "$user/QOBR.Ini" -newer "$work/shown")" ] || fail "QOBR.Ini in $user was not written at close"
ramps=$(printf '常规灰度' | iconv -f UTF-8 -t GBK)
grep -aq "^$ramps=" "$user/QOBR.Ini" || fail "the shipped ramps were lost from $user/QOBR.Ini"
changed=$(find "$work/root" -newer "$work/before")
[ -z "$changed" ] || fail "the program wrote under the prefix: $changed"

# vomra-cli uses the same folder: a ramp kept there is the one it grinds with.
custom=$(printf '自定义灰度' | iconv -f UTF-8 -t GBK)
sed -i "s/^$custom=.*/$custom=#\r/" "$user/QOBR.Ini"
convert -size 3x1 xc:black BMP3:"$work/black.bmp"
[ "$("$usr/bin/vomra-cli" grind --gray custom "$work/black.bmp")" = "###" ] ||
  fail "vomra-cli did not read the ramp from $user"
# Installed, every command runs from the one executable: nothing else of it is
# installed.
[ ! -e "$usr/libexec" ] || fail "something was installed in libexec: $(find "$usr/libexec")"
convert -size 3x1 xc:black "$work/black.png"
[ "$("$usr/bin/vomra-cli" grind --ramp '#.' "$work/black.png")" = "###" ] || fail "vomra-cli grind of a PNG failed"
"$usr/bin/vomra-cli" art --fg '#' I | grep -q '#' || fail "vomra-cli art failed"
[ "$(printf 'ab\n' | "$usr/bin/vomra-cli" width)" = $'line 1: 2 cells narrow, 2 wide\nlines up both ways' ] ||
  fail "vomra-cli width failed"
echo "install: ok"
