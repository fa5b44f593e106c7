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
# xvfb-run ends its X server once the console ends, but a signal to it does
# not reach the console: the console is ended here, by its own process id.
xvfb-run -a -s "-screen 0 1920x1080x24" "$BUILD/src/videowall" "$@" &
XVFB_RUN=$!
end_console() {
    pkill -TERM -x -P "$XVFB_RUN" videowall || true
    wait "$XVFB_RUN" || true
    exit 143
}
trap end_console TERM INT HUP
wait "$XVFB_RUN"
