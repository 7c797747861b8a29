#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR, checks the installed tree, and starts the installed
# program through its launcher link under a virtual X server. Pointer moves over the background
# and a button make it read its button bitmaps; the system-call trace shows that it read them
# from the installed program folder. The program starts without the spooler library, and the
# question before Apply Settings opens the spooler module from the same folder.
#
#   installed_program_test.sh BUILD_DIR
set -euo pipefail

readonly SKIP=77

fail() {
  echo "FAIL: $*"
  exit 1
}

for tool in xvfb-run xdotool strace identify; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing; tools/setup.sh installs it"
    exit $SKIP
  fi
done

# The trace needs ptrace, which some containers forbid.
if ! strace -qq -o /dev/null true 2>/dev/null; then
  echo "SKIP: strace cannot trace here (ptrace not permitted)"
  exit $SKIP
fi

# Under the virtual X server: run what the outer call installed.
if [ "$1" = --inside-display ]; then
  scratch=$2
else
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  # Under a umask that would leave new folders group-writable.
  (umask 002 && DESTDIR=$scratch/root cmake --install "$1" --prefix /usr >/dev/null)
fi
root=$scratch/root
folder=$(realpath "$root/usr/lib/varnet-orvel")

check_tree() {
  [ -x "$folder/varnet-orvel" ] || fail "no executable in $folder"
  # Nobody but its owner may change the folder that the program reads its bitmaps from.
  local mode
  for mode in "$(stat -c %a "$folder")" "$(stat -c %a "$folder/..")"; do
    [ "$mode" = 755 ] || fail "the program folder or its parent has mode $mode, not 755"
  done
  local bitmaps
  bitmaps=$(find "$folder" -name '*.bmp' | wc -l)
  [ "$bitmaps" -eq 12 ] || fail "$bitmaps bitmaps in the program folder, not 12"
  [ -f "$folder/varnet-orvel-cups.so" ] || fail "no spooler module in the program folder"
  local link
  link=$(readlink "$root/usr/bin/varnet-orvel") || fail "no launcher link in bin"
  [ "$link" = ../lib/varnet-orvel/varnet-orvel ] || fail "launcher points to $link"
  [ -f "$root/usr/share/applications/varnet-orvel.desktop" ] || fail "no desktop entry"
  for size in 16 32 48 256; do
    local icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/varnet-orvel.png
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] ||
      fail "the ${size}x${size} icon is $(identify -format '%wx%h' "$icon")"
  done
}

# Moves the pointer to a point of the window, in its own pixels, and lets the program take it.
point_at() {
  xdotool mousemove --window "$2" "$3" "$4"
  xdotool mousemove --window "$2" "$(($3 + 1))" "$4"
  sleep 0.3
}

# Ends the traced program, whatever state the test is in: the tracer alone would detach from it
# and leave it running.
stop_program() {
  local program
  program=$(ps -o pid= --ppid "$tracer" || true)
  if [ -n "$program" ]; then
    kill $program
  fi
  wait "$tracer" || true
}

run_installed_program() {
  trace=$scratch/trace
  # The sanitizer build's leak check cannot run under the tracer.
  QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 \
    strace -f -qq -e trace=openat -o "$trace" "$root/usr/bin/varnet-orvel" &
  tracer=$!
  trap stop_program EXIT
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Printer Configuration Utility' |
    head -n 1) || fail "the installed program showed no window"

  # The background arms the buttons and puts them back; Apply Settings lights up.
  point_at background "$window" 650 130
  point_at apply "$window" 652 181
  point_at background "$window" 650 130

  wait_for_open "$folder/Apply_Settings2.bmp" ||
    { echo "bitmaps the program tried to open:"; grep '\.bmp' "$trace" || echo "(none)"
      fail "the installed program did not read $folder/Apply_Settings2.bmp"; }
  echo "the installed program read its bitmaps from $folder:"
  grep -o '"[^"]*\.bmp"' "$trace" | sort | uniq -c

  # Until a command needs it, the spooler library stays out of the program.
  local program
  program=$(ps -o pid= --ppid "$tracer" | tr -d ' ')
  [ -n "$program" ] || fail "the installed program is gone"
  if grep -q 'libcups\.so' "/proc/$program/maps"; then
    fail "the installed program loaded the spooler library at start"
  fi
  # Apply Settings asks its question; while it is up, the module comes from the program folder.
  xdotool mousemove --window "$window" 652 181 click 1
  wait_for_open "$folder/varnet-orvel-cups.so" ||
    fail "the installed program did not open $folder/varnet-orvel-cups.so"
  grep -q 'libcups\.so' "/proc/$program/maps" ||
    fail "the spooler module is open but the spooler library is not loaded"
  echo "the installed program opened its spooler module from $folder while its question was up"
  stop_program
  trap - EXIT
}

# Waits a few seconds for the traced program to have opened a file.
wait_for_open() {
  local wanted="\"$1\""
  for _ in $(seq 50); do
    if grep -E "openat\(.*$wanted.* = [0-9]+\$" "$trace" >/dev/null; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

if [ "$1" = --inside-display ]; then
  run_installed_program
  exit 0
fi

check_tree
# The program reads its bitmaps at its first pointer moves: make them, and watch it read.
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside-display "$scratch"
