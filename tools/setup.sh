#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config clang-format dpkg-dev
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcups2-dev cups-daemon cups-client
  g++-mingw-w64-x86-64-posix wine64 wine zip unzip
  xvfb xauth x11-utils xdotool imagemagick strace valgrind
  fonts-dejavu-core
  lintian appstream desktop-file-utils libxml2-utils
  acl
  libpappl-dev cups-ipp-utils cups cups-filters cups-core-drivers chromium python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
elif command -v sudo >/dev/null 2>&1; then
  sudo_cmd=(sudo)
else
  echo "setup: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! "${sudo_cmd[@]}" apt-get update -q >/dev/null; then
  echo "setup: apt-get update failed; cannot install: ${missing[*]}" >&2
  exit 1
fi
if ! "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  echo "setup: could not install: ${missing[*]}" >&2
  exit 1
fi
