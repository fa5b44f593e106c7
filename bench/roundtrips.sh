#!/bin/bash
# Counts the questions (requests with a reply) a console asks the X server
# while its main window is shown at start, and while the window manager
# then moves it ten times, through xtrace on a virtual X server of its own
# under openbox. Run by hand (see docs/benchmarks.md):
#
#   bench/roundtrips.sh [console]      default: build/src/videowall
#
# Needs xvfb, openbox, xdotool, x11-utils and xtrace (Debian packages).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CONSOLE="$(realpath "${1:-$ROOT/build/src/videowall}")"
WORK="$(mktemp -d)"
PIDS=()
finish() {
    # Last started, first ended; each by its own process id.
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap finish EXIT

cp "$CONSOLE" "$WORK/console"
cd "$WORK"
exec 3<> >(:)
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 2>/dev/null &
PIDS+=($!)
read -r -u 3 number
SERVER=":$number"
DISPLAY=$SERVER openbox --sm-disable 2>/dev/null &
PIDS+=($!)
until DISPLAY=$SERVER xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do sleep 0.1; done

# xtrace stands between the console and the server as display :(N+1);
# both Qt's connection and any other the console opens pass through it.
QT_QPA_PLATFORM=xcb xtrace -n -d "$SERVER" -D ":$((number + 1))" -o trace.txt -- ./console >/dev/null 2>&1 &
PIDS+=($!)
main=""
for _ in $(seq 100); do
    main=$(DISPLAY=$SERVER xdotool search --onlyvisible --name Brisna 2>/dev/null | head -1 || true)
    [ -n "$main" ] && break
    sleep 0.1
done
[ -n "$main" ] || { echo "the console's main window did not show" >&2; exit 1; }
sleep 2
shown=$(wc -l < trace.txt)
for i in $(seq 10); do
    DISPLAY=$SERVER xdotool windowmove "$main" $((100 + i * 10)) 100
    sleep 0.3
done
sleep 1

# The questions the window kit may ask; Qt asks some of the same kinds.
count() { { grep -E "Reply to (GetWindowAttributes|TranslateCoordinates|QueryTree|GetGeometry)" || true; } \
          | sed -E 's/^([0-9]+):.*Reply to ([A-Za-z]+).*/connection \1  \2/' | sort | uniq -c; }
echo "start (main window shown), replies to the questions about places:"
head -n "$shown" trace.txt | count
echo "ten moves by the window manager:"
tail -n +"$((shown + 1))" trace.txt | count
