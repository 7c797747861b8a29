#!/usr/bin/env bash
# Installs the Debian packages that a purpose needs, and no more:
#
#   tools/setup.sh [PURPOSE...]        (no purpose: test, which is everything)
#   tools/setup.sh --list PURPOSE...   print the packages, one a line, and install nothing
#
#   run      build the program and orvel-settings, run the demo and the window
#   windows  cross-build orvel-settings for Windows
#   package  build and check the Debian package
#   test     everything the test suite needs (the three above and the test tools)
#
# Each purpose's packages are listed in tools/setup/PURPOSE.packages, one a line; "#" starts a
# comment, and "include NAME" takes in the packages of NAME.packages. Idempotent: when
# everything is present it only checks and returns. Installs as root, or through sudo.
set -euo pipefail

lists=$(cd "$(dirname "$0")/setup" && pwd)
# apt may be busy with another install; wait for it rather than fail.
lock_wait_s=600

usage() {
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
    echo "purposes: $(cd "$lists" && ls -- *.packages | sed 's/\.packages$//' | tr '\n' ' ')" >&2
    exit 2
}

packages=()
read_purposes=" "
# Adds the packages of a purpose and of the purposes it includes, each purpose once.
read_purpose() {
    local purpose=$1 line words
    [[ $purpose =~ ^[a-z][a-z0-9-]*$ ]] && [ -f "$lists/$purpose.packages" ] || {
        echo "setup: no such purpose: $purpose" >&2
        usage
    }
    case $read_purposes in *" $purpose "*) return 0 ;; esac
    read_purposes="$read_purposes$purpose "
    while IFS= read -r line || [ -n "$line" ]; do
        line=${line%%#*}
        read -r -a words <<<"$line"
        case ${#words[@]} in
        0) ;;
        1) packages+=("${words[0]}") ;;
        2) if [ "${words[0]}" = include ]; then read_purpose "${words[1]}"; else bad_line "$purpose" "$line"; fi ;;
        *) bad_line "$purpose" "$line" ;;
        esac
    done <"$lists/$purpose.packages"
}

bad_line() {
    echo "setup: $lists/$1.packages: not a package name: $2" >&2
    exit 2
}

list_only=no
if [ "${1:-}" = --list ]; then
    list_only=yes
    shift
fi
[ $# -ge 1 ] || set -- test
for purpose in "$@"; do
    read_purpose "$purpose"
done

if [ "$list_only" = yes ]; then
    printf '%s\n' "${packages[@]}" | sort -u
    exit 0
fi

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing what $* needs: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo_cmd=()
elif command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
else
    echo "setup: need root or sudo to install: ${missing[*]}" >&2
    exit 1
fi

apt_get=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o "DPkg::Lock::Timeout=$lock_wait_s")
if ! "${apt_get[@]}" update -q >/dev/null; then
    echo "setup: apt-get update failed; cannot install: ${missing[*]}" >&2
    exit 1
fi
if ! "${apt_get[@]}" install -y -q --no-install-recommends "${missing[@]}"; then
    echo "setup: could not install: ${missing[*]}" >&2
    exit 1
fi
