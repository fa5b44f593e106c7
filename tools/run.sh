#!/bin/bash
# Builds the console (installing what is missing) and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting the console on a virtual X server (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$BUILD/src/videowall" "$@"
fi
exec "$BUILD/src/videowall" "$@"
