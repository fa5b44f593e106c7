#!/bin/bash
# Takes the README's pictures again after a change to the look: the main
# window in the blue and in the black skin, the port setting window, the main
# window after a login with every right (device tabs and log pane) and the
# main window in Chinese, each on a virtual X server, written to docs/*.png.
#
# Builds nothing: run tools/run.sh or tools/test.sh first. Needs xvfb-run,
# import (imagemagick) and xdotool; uses openbox when it is installed. The console runs from a copy in a
# temporary folder, so the config.ini beside the build is not touched.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="$ROOT/build/src/videowall"
OUT="$ROOT/docs"

if [ "${1:-}" != "--on-display" ]; then
    [ -x "$BIN" ] || { echo "No console at $BIN: run tools/run.sh or tools/test.sh first." >&2; exit 1; }
    for tool in xvfb-run import xdotool; do
        command -v "$tool" > /dev/null \
            || { echo "$tool is missing: apt-get install xvfb imagemagick xdotool" >&2; exit 1; }
    done
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --on-display
fi

WORK="$(mktemp -d)"
CONSOLE=""
WM=""
cleanup() {
    [ -n "$CONSOLE" ] && kill "$CONSOLE" 2> /dev/null && wait "$CONSOLE" 2> /dev/null
    [ -n "$WM" ] && kill "$WM" 2> /dev/null && wait "$WM" 2> /dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
# Under a window manager, when one is installed, the windows are stacked and
# placed as on a desktop.
if command -v openbox > /dev/null; then
    openbox > /dev/null 2>&1 &
    WM=$!
    sleep 1
fi
cp "$BIN" "$WORK/"
mkdir -p "$OUT"

# Starts the console from the config.ini in the temporary folder; MAIN_WINDOW
# is its window once it is shown.
start_console() {
    (cd "$WORK" && exec ./videowall > /dev/null 2>&1) &
    CONSOLE=$!
    MAIN_WINDOW="$(timeout 20 xdotool search --sync --onlyvisible --class '^videowall$' | head -n 1)"
    sleep 2   # the first paint and the clock's first tick
}

# Closes the console with its own close button, so that it saves its
# settings as on any other close.
close_console() {
    xdotool mousemove --window "$MAIN_WINDOW" 1029 14 click 1
    for _ in $(seq 50); do
        kill -0 "$CONSOLE" 2> /dev/null || break
        sleep 0.2
    done
    kill -0 "$CONSOLE" 2> /dev/null && { echo "The console did not close." >&2; exit 1; }
    wait "$CONSOLE" || true
    CONSOLE=""
}

# Sets a key of the main window's group in the saved config.ini.
set_main_setting() {
    sed -i "s/^$1=.*/$1=$2/" "$WORK/config.ini"
}

# The ribbon's "Config" page and its first button, "Port Setting", at their
# places in the window's start-up size; PORT_WINDOW is the window it opens.
open_port_setting() {
    xdotool mousemove --window "$MAIN_WINDOW" 157 42 click 1
    sleep 1
    xdotool mousemove --window "$MAIN_WINDOW" 60 100 click 1
    PORT_WINDOW="$(timeout 10 xdotool search --sync --onlyvisible --name '^Port Setting$' | head -n 1)"
    xdotool mousemove 0 0
    sleep 1
}

# "Administrator" on the "Config" page, then the password with every right;
# the login window closes itself.
log_in() {
    xdotool mousemove --window "$MAIN_WINDOW" 157 42 click 1
    sleep 1
    xdotool mousemove --window "$MAIN_WINDOW" 390 100 click 1
    timeout 10 xdotool search --sync --onlyvisible --name '^Administrator$' > /dev/null
    sleep 1
    xdotool type --delay 50 571836
    xdotool key Return
    xdotool mousemove 0 0
    sleep 2
}

# A first run with no config.ini saves the defaults; the pictures show a
# wall of three rows and four columns.
start_console
close_console
set_main_setting Row 3
set_main_setting Column 4

start_console
import -window "$MAIN_WINDOW" "$OUT/main-blue.png"
open_port_setting
import -window "$PORT_WINDOW" "$OUT/port-setting-blue.png"
close_console

start_console
log_in
import -window "$MAIN_WINDOW" "$OUT/main-logged-in-blue.png"
close_console

set_main_setting Language 1
start_console
import -window "$MAIN_WINDOW" "$OUT/main-chinese-blue.png"
close_console
set_main_setting Language 0

set_main_setting Skin 1
start_console
import -window "$MAIN_WINDOW" "$OUT/main-black.png"
close_console

echo "Written: $OUT/main-blue.png $OUT/main-black.png $OUT/port-setting-blue.png" \
     "$OUT/main-logged-in-blue.png $OUT/main-chinese-blue.png"
