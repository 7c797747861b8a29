#!/usr/bin/env bash
# The bash completion of orvel-settings, run under bash as the shell runs it: the commands, each
# command's options, files, and queue names from "orvel-settings printers" of the scheduler that
# the command line chooses (a stand-in program here records how it was asked), and nothing at all
# from the real program when no scheduler answers.
#
#   completion_test.sh COMPLETION_FILE PROGRAM
set -euo pipefail

completion=$1
program=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# shellcheck source=/dev/null
source "$completion"
complete -p orvel-settings >/dev/null || { echo "FAIL: no completion for orvel-settings"; exit 1; }

# A stand-in program that lists two queues and keeps its arguments.
mkdir "$scratch/bin" "$scratch/work"
stand_in=$scratch/bin/orvel-settings
cat >"$stand_in" <<STANDIN
#!/usr/bin/env bash
printf '%s\n' "\$*" >"$scratch/asked"
printf 'orvel005\tidle\t0\tdefault\norvel006\tstopped\t2\nstore\tidle\t0\n'
STANDIN
chmod +x "$stand_in"
touch "$scratch/work/office.profile" "$scratch/work/other.profile"

# Completes the line as bash would, with the cursor at its end; prints the choices, one a line.
complete_line() {
    local program_path=$1 line=$2
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_WORDS[0]=$program_path
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _orvel_settings
    if [ ${#COMPREPLY[@]} -gt 0 ]; then
        printf '%s\n' "${COMPREPLY[@]}"
    fi
}

expect() {
    local line=$1 expected=$2 got
    got=$(cd "$scratch/work" && complete_line "$stand_in" "$line" | LC_ALL=C sort | tr '\n' ' ')
    if [ "$got" != "$expected" ]; then
        echo "FAIL: '$line' completes to '$got', not '$expected'"
        failures=$((failures + 1))
    fi
}

expect "orvel-settings " "--help --version apply decode features-page printers restore show "
expect "orvel-settings re" "restore "
expect "orvel-settings apply -" "--help --json --wait --wait= -E -U -d -h -o "
expect "orvel-settings restore --w" "--wait --wait= "
expect "orvel-settings printers -" "--help -E -U -h "
expect "orvel-settings show -" "--help "
expect "orvel-settings apply o" "office.profile other.profile "
expect "orvel-settings decode off" "office.profile "
expect "orvel-settings restore o" ""
expect "orvel-settings apply -d " "orvel005 orvel006 store "
expect "orvel-settings restore -d orv" "orvel005 orvel006 "
expect "orvel-settings show -d " ""

# -d asks the scheduler that the words before it choose.
expect "orvel-settings restore -h branch.example : 631 -E -U clerk -d o" "orvel005 orvel006 "
asked=$(cat "$scratch/asked")
if [ "$asked" != "printers -h branch.example:631 -E -U clerk" ]; then
    echo "FAIL: the queues were asked for as '$asked'"
    failures=$((failures + 1))
fi

# The real program, with no scheduler to answer: no names, and soon.
start=$SECONDS
got=$(CUPS_SERVER=$scratch/no-such-socket complete_line "$program" "orvel-settings apply -d ")
if [ -n "$got" ] || ((SECONDS - start > 6)); then
    echo "FAIL: with no scheduler, -d completes to '$got' after $((SECONDS - start)) s"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || exit 1
echo "the completion answers as expected"
