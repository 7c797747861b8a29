#!/usr/bin/env bash
# tools/setup.sh's purposes, read from their package lists: the demo's needs neither the Windows
# tools nor the test tools; the tests' takes in everything; a purpose or a line it does not know
# is refused. And tools/cmake-build says when nothing needed building. Installs nothing.
#
#   setup_test.sh SOURCE_DIR
set -euo pipefail

source_dir=$1
setup=$source_dir/tools/setup.sh
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

list() { "$setup" --list "$@"; }
has() { grep -qxF -- "$2" <<<"$1"; }

run=$(list run)
for package in wine wine64 g++-mingw-w64-x86-64-posix valgrind clang-format xvfb lintian libgtest-dev; do
    ! has "$run" "$package" || fail "the demo's setup (run) installs $package"
done
for package in g++ cmake ninja-build qt6-base-dev libcups2-dev cups-daemon cups-client acl; do
    has "$run" "$package" || fail "the demo's setup (run) lacks $package"
done
has "$(list windows)" g++-mingw-w64-x86-64-posix || fail "the windows setup lacks the cross compiler"
has "$(list package)" lintian || fail "the package setup lacks lintian"

everything=$(list test)
for purpose in run windows package; do
    while IFS= read -r package; do
        has "$everything" "$package" || fail "the test setup lacks $package of $purpose"
    done < <(list "$purpose")
done
[ "$(list)" = "$everything" ] || fail "setup.sh without a purpose is not the test setup"
[ "$(list run run)" = "$run" ] || fail "a purpose named twice gives another list"

# A scratch copy of the lists with a faulty one beside them.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/tools"
cp "$setup" "$scratch/tools/setup.sh"
cp -r "$source_dir/tools/setup" "$scratch/tools/setup"
printf 'g++ cmake\n' >"$scratch/tools/setup/two-a-line.packages"
printf 'include nowhere\n' >"$scratch/tools/setup/missing-include.packages"
for purpose in nowhere ../setup/run two-a-line missing-include; do
    status=0
    "$scratch/tools/setup.sh" --list "$purpose" >/dev/null 2>&1 || status=$?
    [ "$status" -eq 2 ] || fail "purpose '$purpose' gave status $status, not 2"
done

# A build with a step that always runs, and one with nothing to do.
project=$scratch/project
mkdir -p "$project"
cat >"$project/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(steps NONE)
add_custom_target(always ALL COMMAND true)
add_custom_target(nothing)
CMAKE
cmake -S "$project" -B "$project/build" -G Ninja >/dev/null
built=$("$source_dir/tools/cmake-build" check "$project/build")
grep -qE '^\[1/1\] ' <<<"$built" || fail "the build's step was not shown: $built"
grep -qE '^check: built in [0-9]+ s$' <<<"$built" || fail "a build did not say how long: $built"
nothing=$("$source_dir/tools/cmake-build" check "$project/build" --target nothing)
grep -qxF "check: nothing to rebuild: $project/build is up to date" <<<"$nothing" ||
    fail "a build with nothing to do did not say so: $nothing"

[ "$failures" -eq 0 ] || exit 1
echo "setup purposes and build messages: all as expected"
