#!/usr/bin/env bash
# Sets up the machine, builds the project with the sanitizers and runs every test (ctest's
# options may follow, e.g. -R or -L).
#
# The tests that need root (a private CUPS scheduler, and what is checked against it) get it as
# the demo does: as root directly, otherwise through sudo, which asks for the password once, at
# the start; it is kept fresh while the tests run. A skipped test is named at the end with its
# reason.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${ORVEL_TEST_BUILD:-build/test}
# sudo forgets a password after some minutes; the build and the tests may take longer.
sudo_refresh_s=60

keep_sudo_fresh() {
    while sleep "$sudo_refresh_s"; do
        sudo -n -v 2>/dev/null || return 0
    done
}

refresher=
if [ "$(id -u)" -ne 0 ]; then
    echo "test: the tests that need root (a private CUPS scheduler, and the checks of what other"
    echo "      users can do to it) get it through sudo, as ./tools/demo does; sudo may ask for your"
    echo "      password now, once."
    if sudo -n -v 2>/dev/null || sudo -v; then
        keep_sudo_fresh &
        refresher=$!
    else
        echo "test: no root through sudo: those tests are skipped, each with its reason below"
    fi
fi
stop_refresher() { [ -z "$refresher" ] || kill "$refresher" 2>/dev/null || true; }
trap stop_refresher EXIT

./tools/setup.sh test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVEL_SANITIZE=ON >/dev/null
./tools/cmake-build test "$build"

output=$(mktemp)
trap 'stop_refresher; rm -f "$output"' EXIT
status=0
# Two tests at a time, as the machine has two cores: most of them wait on a scheduler, a server or
# a pause. The tests that drive a window by real X input, or time a whole program, run alone.
ctest --test-dir "$build" --output-on-failure --timeout 300 --parallel 2 "$@" | tee "$output" ||
    status=$?

# Each skipped test with its reason, from what it printed: the line after gtest's "Skipped", a
# line of a script's own that says SKIP or skipped, or else its last line.
skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$output")
if [ -n "$skipped" ]; then
    echo
    echo "test: skipped, and why:"
    while IFS= read -r name; do
        reason=$(awk -v start="\"$name\" start time:" '
            index($0, start) == 1 { inside = 1; next }
            !inside { next }
            /^<end of output>$/ { exit }
            after_skipped && NF { reason = $0; exit }
            / Skipped$/ { after_skipped = 1; next }
            /^(SKIP|skipped): / { reason = $0; exit }
            NF && $0 !~ /^-+$/ && $0 != "Output:" { last = $0 }
            END { print (reason != "" ? reason : last) }
        ' "$build/Testing/Temporary/LastTest.log")
        echo "  $name: ${reason:-(it gave no reason)}"
    done <<<"$skipped"
fi
exit "$status"
