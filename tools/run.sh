#!/bin/bash
# Builds the console alone (installing what is missing) and starts it. With
# no display it runs on a virtual X server, which ends with it; ending this
# script (Ctrl-C, kill) ends the console too.
set -euo pipefail
export VW_TARGETS=videowall
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$BUILD/src/videowall" "$@"
fi
echo "No display found: starting the console on a virtual X server (xvfb-run)."
# xvfb-run, its X server and the console run in a process group of their own
# (job control), so that one signal to that group ends all three, before the
# console exists too. xvfb-run's own clean-up does not run when it is killed:
# its authority file stands in a folder of this script's, removed here.
set +e
set -m
AUTH_DIR=""
GROUP=""
end_console() {
    trap - TERM INT HUP
    # A signal before xvfb-run started finds no group to end.
    local group="${GROUP:-${!:-}}"
    # bash's line on the job it ended says nothing the operator needs
    { [ -n "$group" ] && kill -TERM -- "-$group"; wait; } 2>/dev/null
    # The console and the X server outlive xvfb-run by a moment: this script
    # ends after them, and ends them for good after 5 s.
    for _ in $(seq 50); do
        [ -n "$group" ] && kill -0 -- "-$group" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$group" ] && kill -KILL -- "-$group" 2>/dev/null
    [ -n "$AUTH_DIR" ] && rm -rf "$AUTH_DIR"
    exit 143
}
trap end_console TERM INT HUP
AUTH_DIR="$(mktemp -d -t videowall-xauth.XXXXXX)"
xvfb-run -a -f "$AUTH_DIR/Xauthority" -s "-screen 0 1920x1080x24" "$BUILD/src/videowall" "$@" &
GROUP=$!
wait "$GROUP"
status=$?
rm -rf "$AUTH_DIR"
exit "$status"
