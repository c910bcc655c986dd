# The Debian package the package tests check: the one VOMRA_DEB names, or one
# scripts/package builds (in $VOMRA_BUILD/deb, from $VOMRA_BUILD's source).
# Prints its path.
packageUnderTest() {
  local root deb
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
  deb=${VOMRA_DEB:-$(VOMRA_BUILD_DIR=$VOMRA_BUILD "$root/scripts/package" | tail -n 1)}
  [ -f "$deb" ] || return 1
  echo "$deb"
}
