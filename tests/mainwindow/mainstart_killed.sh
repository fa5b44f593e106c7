#!/bin/bash
# A test run killed midway leaves no console behind: tst_mainstart is killed
# with SIGKILL (no destructor, no handler runs) once the console it started
# runs, and that console must be gone within seconds.
#
#   mainstart_killed.sh <tst_mainstart> <console file name>
set -u
runner_binary=$1
console_name=$2
work=$(mktemp -d)
runner=
console=
cleanup() {
    [ -n "$runner" ] && kill -KILL "$runner" 2>/dev/null
    # What this check found running is ended here, whatever it concluded.
    [ -n "$console" ] && kill -KILL "$console" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Gone, or a zombie that no one reaps (PID 1 of a container may not).
ended() { [ ! -e "/proc/$1" ] || grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null; }

TMPDIR=$work QT_QPA_PLATFORM=offscreen "$runner_binary" >"$work/run.log" 2>&1 &
runner=$!

# The console is the run's child once it has become the copied program.
for _ in $(seq 600); do
    for child in $(cat /proc/"$runner"/task/*/children 2>/dev/null); do
        [ "$(basename "$(readlink "/proc/$child/exe" 2>/dev/null)")" = "$console_name" ] && console=$child
    done
    [ -n "$console" ] && break
    ended "$runner" && break
    sleep 0.1
done
if [ -z "$console" ]; then
    echo "FAIL: the test run started no console"; cat "$work/run.log"; exit 1
fi

kill -KILL "$runner"
wait "$runner" 2>/dev/null
for _ in $(seq 100); do
    if ended "$console"; then
        echo "PASS: the console (pid $console) ended with its killed test run"
        exit 0
    fi
    sleep 0.1
done
echo "FAIL: the console (pid $console) still runs after its test run was killed"
exit 1
