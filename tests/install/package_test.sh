#!/usr/bin/env bash
# Builds the Debian package from the build into a scratch folder and checks what it holds and
# what it depends on.
#
#   package_test.sh BUILD_DIR
set -euo pipefail

fail() {
  echo "FAIL: $*"
  exit 1
}

build=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack could not build the package"; }
deb=$(find "$scratch" -maxdepth 1 -name '*.deb')
[ -n "$deb" ] || fail "cpack made no .deb"

[ "$(dpkg-deb -f "$deb" Package)" = varnet-orvel ] || fail "wrong package name"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The libraries the program links, found from the executable by dpkg-shlibdeps.
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libcups2; do
  [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] ||
    fail "the package does not depend on $library"
done

[ "$(dpkg-deb -f "$deb" Recommends)" = cups-daemon ] || fail "the package does not recommend cups-daemon"

contents=$(dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }')
expect() {
  grep -qxF -- "$1" <<<"$contents" || fail "the package lacks $1"
}
expect ./usr/lib/varnet-orvel/varnet-orvel
for face in Apply_Settings Restore_Default Show_Features Print_Features Exit_Button Close_Button; do
  expect "./usr/lib/varnet-orvel/${face}1.bmp"
  expect "./usr/lib/varnet-orvel/${face}2.bmp"
done
expect "./usr/bin/varnet-orvel -> ../lib/varnet-orvel/varnet-orvel"
expect ./usr/share/applications/varnet-orvel.desktop
for size in 16 32 48 256; do
  expect "./usr/share/icons/hicolor/${size}x${size}/apps/varnet-orvel.png"
done
echo "$(basename "$deb"): $(grep -c . <<<"$contents") entries"
