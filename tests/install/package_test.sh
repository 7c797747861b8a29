#!/usr/bin/env bash
# Builds the Debian package from the build into a scratch folder, under a umask that would leave
# folders group-writable, and checks it as the distribution would: what it holds and depends on,
# its modes, lintian, the software-centre description and the desktop entry. Then installs it
# into a scratch root with its own package database, and purges it again without leftovers; the
# machine's own package state is not touched.
#
#   package_test.sh BUILD_DIR
set -euo pipefail

fail() {
  echo "FAIL: $*"
  exit 1
}

build=$(realpath "$1")
source_dir=$(realpath "$(dirname "$0")/../..")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for tool in lintian appstreamcli desktop-file-validate xmllint; do
  command -v "$tool" >/dev/null || fail "$tool is missing; tools/setup.sh installs it"
done

umask 002
deb=$("$source_dir/packaging/build-deb" "$build" "$scratch" 2>"$scratch/build-deb.log") ||
  { cat "$scratch/build-deb.log"; fail "packaging/build-deb could not build the package"; }
[ -f "$deb" ] || fail "packaging/build-deb made no package at '$deb'"
cat "$scratch/build-deb.log"

# --- Fields ----------------------------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = varnet-orvel ] || fail "wrong package name"
# The program's file and product version.
[ "$(field Version)" = 1.00 ] || fail "the package's version is $(field Version), not 1.00"
[ "$(field Maintainer)" = "Varnet Printing Systems Ltd. <support@varnet-printing.example>" ] ||
  fail "the maintainer is '$(field Maintainer)', not the maker's name and address"
depends=$(field Depends)
echo "Depends: $depends"
# The libraries the program and its spooler module link, found by dpkg-shlibdeps.
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libcups2; do
  [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] ||
    fail "the package does not depend on $library"
done
[ "$(field Recommends)" = cups-daemon ] || fail "the package does not recommend cups-daemon"

# --- Contents and modes ----------------------------------------------------------------------
listing=$(dpkg-deb -c "$deb")
contents=$(awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' <<<"$listing")
expect() {
  grep -qxF -- "$1" <<<"$contents" || fail "the package lacks $1"
}
expect ./usr/lib/varnet-orvel/varnet-orvel
# The spooler module, opened from the program's folder when a command first needs it.
expect ./usr/lib/varnet-orvel/varnet-orvel-cups.so
for face in Apply_Settings Restore_Default Show_Features Print_Features Exit_Button Close_Button; do
  expect "./usr/lib/varnet-orvel/${face}1.bmp"
  expect "./usr/lib/varnet-orvel/${face}2.bmp"
done
expect "./usr/bin/varnet-orvel -> ../lib/varnet-orvel/varnet-orvel"
expect ./usr/bin/orvel-settings
expect ./usr/share/man/man1/orvel-settings.1.gz
expect ./usr/share/bash-completion/completions/orvel-settings
expect ./usr/share/applications/varnet-orvel.desktop
for size in 16 32 48 256; do
  expect "./usr/share/icons/hicolor/${size}x${size}/apps/varnet-orvel.png"
done
expect ./usr/share/man/man1/varnet-orvel.1.gz
expect ./usr/share/doc/varnet-orvel/copyright
expect ./usr/share/doc/varnet-orvel/changelog.gz
expect ./usr/share/metainfo/example.varnet_printing.orvel.metainfo.xml
# How PAM checks the printer application's administrators: the administrator's file once
# installed, which an upgrade must not overwrite.
expect ./etc/pam.d/orvel-printer-app
dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./conffiles | grep -qxF /etc/pam.d/orvel-printer-app ||
  fail "/etc/pam.d/orvel-printer-app is not a conffile"

# Programs are what the launchers in bin run: the files there and the files the links there lead to.
programs=$(while read -r _ _ _ _ _ path arrow target; do
  case $path in */) continue ;; ./usr/bin/*) ;; *) continue ;; esac
  if [ "$arrow" = "->" ]; then
    [[ $target == /* ]] || target=$(dirname "${path#.}")/$target
    echo ".$(realpath -m --no-symlinks "$target")"
  else
    echo "$path"
  fi
done <<<"$listing")
echo "programs:" $programs
while read -r mode owner _ _ _ path _; do
  [ "$owner" = root/root ] || fail "$path belongs to $owner, not root"
  case $mode in
  d*) [ "$mode" = drwxr-xr-x ] || fail "folder $path has mode $mode, not 0755" ;;
  l*) ;;
  -*)
    if grep -qxF -- "$path" <<<"$programs"; then
      [ "$mode" = -rwxr-xr-x ] || fail "program $path has mode $mode, not 0755"
    else
      [ "$mode" = -rw-r--r-- ] || fail "file $path has mode $mode, not 0644"
    fi
    ;;
  *) fail "$path is neither a file, a folder nor a link: $mode" ;;
  esac
done <<<"$listing"
if grep -E '^\./usr/share/man/' <<<"$contents" | grep -vE '/$|\.gz( -> .*\.gz)?$'; then
  fail "manual pages that are not compressed"
fi

# --- The distribution's checkers -------------------------------------------------------------
echo "lintian:"
timeout 120 lintian --fail-on error,warning --info "$deb" ||
  fail "lintian reports errors or warnings"

unpacked=$scratch/unpacked
dpkg-deb -x "$deb" "$unpacked"
metainfo=$unpacked/usr/share/metainfo/example.varnet_printing.orvel.metainfo.xml
echo "appstreamcli:"
timeout 60 appstreamcli validate --no-net "$metainfo" || fail "the AppStream metadata is not valid"
# The tree as installed: the desktop entry that the metadata launches is there.
timeout 60 appstreamcli validate-tree --no-net "$unpacked" ||
  fail "the installed AppStream metadata does not fit the installed tree"
desktop-file-validate "$unpacked/usr/share/applications/varnet-orvel.desktop" ||
  fail "the desktop entry is not valid"

xpath() { xmllint --xpath "$1" "$metainfo"; }
licence=$(awk '/^Files: \*$/ { files = 1 } files && /^License:/ { print $2; exit }' \
  "$unpacked/usr/share/doc/varnet-orvel/copyright")
[ "$(xpath 'string(/component/project_license)')" = "$licence" ] ||
  fail "the AppStream licence is not the package's licence $licence"
# Each screenshot is one of the repository's, published under the same name.
screenshots=$(xpath '/component/screenshots/screenshot/image/text()')
[ -n "$screenshots" ] || fail "the AppStream metadata shows no screenshots"
for url in $screenshots; do
  [ -f "$source_dir/docs/screenshots/$(basename "$url")" ] ||
    fail "screenshot $url is not one of docs/screenshots"
done

# --- Install and purge in a scratch root -----------------------------------------------------
# The scratch database holds the packages that the package depends on, as stand-ins with this
# machine's versions, so that dpkg checks the dependencies without the libraries being there.
root=$scratch/root
admin=$root/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
touch "$admin/available"
dependencies=$(tr ',|' '\n\n' <<<"$depends" | awk '{ sub(/:.*/, "", $1); print $1 }' | sort -u)
for name in $dependencies; do
  dpkg-query -W -f='Package: ${Package}\nStatus: install ok installed\nPriority: optional
Maintainer: ${Maintainer}\nArchitecture: ${Architecture}\nMulti-Arch: ${Multi-Arch}
Version: ${Version}\nDescription: stand-in for the package on this machine\n\n' \
    "$name" 2>/dev/null | sed '/: $/d' || true
done >"$admin/status"

# What this machine's own database says of the package, before and after.
host_state() { dpkg-query -W -f='${Status} ${Version}' varnet-orvel 2>/dev/null || true; }
host_before=$(host_state)

# dpkg wants its helpers (ldconfig, start-stop-daemon) on the PATH, and they live in the sbin
# folders, which are not on a normal user's.
dpkg_here() {
  PATH="$PATH:/usr/local/sbin:/usr/sbin:/sbin" \
    timeout 60 dpkg --root="$root" --log="$scratch/dpkg.log" --force-not-root "$@"
}
before=$(cd "$root" && find . ! -path './var/lib/dpkg/*' | sort)
dpkg_here --install "$deb" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log"; fail "dpkg could not install the package into the scratch root"; }
[ "$(dpkg-query --admindir="$admin" -W -f='${Status}' varnet-orvel)" = "install ok installed" ] ||
  fail "the scratch database does not record the package as installed"
[ "$(stat -c %a "$root/usr/lib/varnet-orvel")" = 755 ] ||
  fail "the installed program folder has mode $(stat -c %a "$root/usr/lib/varnet-orvel")"
program=$(realpath "$root/usr/lib/varnet-orvel/varnet-orvel")
[ "$(realpath "$root/usr/bin/varnet-orvel")" = "$program" ] ||
  fail "the installed launcher does not lead to the program"

dpkg_here --purge varnet-orvel >"$scratch/purge.log" 2>&1 ||
  { cat "$scratch/purge.log"; fail "dpkg could not purge the package"; }
after=$(cd "$root" && find . ! -path './var/lib/dpkg/*' | sort)
[ "$before" = "$after" ] ||
  fail "purging left $(comm -13 <(echo "$before") <(echo "$after") | tr '\n' ' ')"
if ls "$admin/info/varnet-orvel."* >/dev/null 2>&1; then
  fail "purging left the package's records in the database"
fi
if dpkg-query --admindir="$admin" -W varnet-orvel >/dev/null 2>&1; then
  fail "the database still knows the package after purging"
fi

[ "$(host_state)" = "$host_before" ] || fail "the machine's own package database changed"

echo "$(basename "$deb"): $(grep -c . <<<"$contents") entries; installed and purged cleanly"
