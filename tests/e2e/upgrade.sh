#!/usr/bin/env bash
# An upgrade as a user meets it: the package is unpacked into a scratch root,
# vomra starts for the first time (the user's program folder is made), the user
# edits a recipe, a newer package arrives whose help file and that recipe
# differ (built before the first start, so its files are older than the user's
# copies), and vomra starts again: the new help is in the user's folder, the
# edited recipe is the user's.
set -euo pipefail
build=${VOMRA_BUILD:?}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
fail() { echo "upgrade: $*" >&2; exit 1; }

source "$root/tests/e2e/lib/package.bash"
deb=$(packageUnderTest) || fail "no package was built"
dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr
export HOME=$work/home
unset XDG_DATA_HOME
mkdir -p "$HOME"
user=$HOME/.local/share/vomra
source "$root/tests/e2e/lib/window.bash"
openbox >/dev/null 2>&1 & pids+=($!)
sleep 1

start_and_close() {
  "$usr/bin/vomra" & local pid=$!; pids+=($pid)
  local win
  win=$(mainWindow) || fail "the main window did not appear ($1)"
  closeWithKeys "$win" $pid || fail "vomra did not close ($1)"
  local status=0
  wait $pid || status=$?
  [ $status -eq 0 ] || fail "vomra exited with status $status ($1)"
}

start_and_close "first start"
cmp -s "$usr/share/vomra/QOBR.CHM" "$user/QOBR.CHM" || fail "the help file was not copied at the first start"
recipe=$(cd "$user" && find . -name '*.Txt' | sort | head -n 1)
[ -n "$recipe" ] || fail "no recipe was copied"
printf '我改过的秘笈\r\n' | iconv -f UTF-8 -t GBK > "$user/$recipe"

# The newer package: another help file (a page changed) and another version of
# the edited recipe, both dated before the first start.
cp -r "$root/help" "$work/help"
sed -i 's|</h1>|</h1>\n<p>新版的帮助。</p>|' "$work/help/start.html"
sh "$work/help/build-chm.sh" "$work/help" "$work/stage" "$work/QOBR.CHM"
cmp -s "$work/QOBR.CHM" "$usr/share/vomra/QOBR.CHM" && fail "the newer help file is the same"
cp "$work/QOBR.CHM" "$usr/share/vomra/QOBR.CHM"
printf 'new shipped text\r\n' > "$usr/share/vomra/$recipe"
touch -d '2 days ago' "$usr/share/vomra/QOBR.CHM" "$usr/share/vomra/$recipe"

start_and_close "second start"
cmp -s "$work/QOBR.CHM" "$user/QOBR.CHM" || fail "the new help file did not reach $user"
[ "$(iconv -f GBK -t UTF-8 "$user/$recipe")" = $'我改过的秘笈\r' ] || fail "the edited recipe $recipe was replaced"
echo "upgrade: ok"
