#!/bin/bash
# Whole-program measurement of the real game under a private X server:
# time from launch to the first picture on the screen, CPU use while idle
# and while playing 10 seconds with scripted mouse moves (% of one core,
# the X server's share beside it) and the peak resident memory.
#
# usage: bench/whole_program/measure.sh [path/to/quarzel]   (default: build/quarzel)
# Needs bash, Xvfb and xdotool (scripts/install-deps). Prints, never fails on a figure.
set -eu
export LC_ALL=C

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
exe=$(realpath "${1:-$root/build/quarzel}")
play_seconds=${PLAY_SECONDS:-10}
idle_seconds=${IDLE_SECONDS:-5}
hz=$(getconf CLK_TCK)

[ -x "$exe" ] || { echo "measure: no game at $exe (build it first)" >&2; exit 1; }
work=$(mktemp -d /tmp/quarzel-measure-XXXXXX)
cp "$root"/resources/sounds/*.wav "$work"/ 2>/dev/null || true

xpid=""
gpid=""
cleanup() {
    [ -n "$gpid" ] && kill "$gpid" 2>/dev/null || true
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# A private X server; it picks a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
DISPLAY=":$(cat "$work/display")"
export DISPLAY

# CPU ticks (user + system) a process has used so far.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
percent() { awk -v d="$1" -v s="$2" -v hz="$hz" 'BEGIN { printf "%.2f", 100 * d / (s * hz) }'; }

# Launch; the game prints the wall-clock time of its first presented picture.
# The launch time is taken in the child just before it becomes the game.
launch() {
    cd "$work"
    (
        export QUARZEL_TRACE_FIRST_FRAME=1 SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
        echo "${EPOCHREALTIME/./}" >"$work/launch"
        exec "$exe"
    ) >/dev/null 2>"$work/stderr" &
    gpid=$!
    for _ in $(seq 200); do grep -q "first frame" "$work/stderr" 2>/dev/null && break; sleep 0.01; done
    local frame_us
    frame_us=$(sed -n 's/.*first frame at \([0-9]*\) us.*/\1/p' "$work/stderr" | head -n1)
    first=$(awk -v a="$(cat "$work/launch")" -v b="${frame_us:-0}" \
        'BEGIN { if (b > 0) printf "%.1f", (b - a) / 1000; else print "n/a" }')
}

# Time to the first picture: several launches, median and best.
runs=${FIRST_FRAME_RUNS:-7}
times=""
for _ in $(seq "$runs"); do
    launch
    times="$times $first"
    kill -TERM "$gpid"; wait "$gpid" 2>/dev/null || true
    gpid=""
    rm -f "$work/quarzel.ini"
done
first_ms=$(echo "$times" | tr ' ' '\n' | grep -v '^$' | sort -n |
    awk '{ v[NR] = $1 } END { printf "median %.1f ms, best %.1f ms (%d runs)", v[int((NR + 1) / 2)], v[1], NR }')

launch
win=$(xdotool search --sync --name '^QUARZEL$' | head -n1)
xdotool windowfocus "$win" 2>/dev/null || true
eval "$(xdotool getwindowgeometry --shell "$win")" # X, Y
sleep 1

# Idle: the start-up board, nothing happening.
g0=$(ticks "$gpid"); x0=$(ticks "$xpid")
sleep "$idle_seconds"
g1=$(ticks "$gpid"); x1=$(ticks "$xpid")
idle_game=$(percent $((g1 - g0)) "$idle_seconds")
idle_x=$(percent $((x1 - x0)) "$idle_seconds")

# Play: New game from the menu by keyboard, then the mouse sweeps the paddle
# across the field; a new game every few seconds keeps one running.
new_game() { xdotool key F10 Down Return; }
new_game
g0=$(ticks "$gpid"); x0=$(ticks "$xpid")
t_end=$(($(date +%s) + play_seconds))
step=0
while [ "$(date +%s)" -lt "$t_end" ]; do
    # A triangle wave over the play field, one move every 50 ms.
    phase=$((step % 80))
    [ "$phase" -lt 40 ] && off=$((phase * 10)) || off=$(((80 - phase) * 10))
    xdotool mousemove $((X + 30 + off)) $((Y + 300))
    step=$((step + 1))
    [ $((step % 60)) -eq 0 ] && new_game
    sleep 0.05
done
g1=$(ticks "$gpid"); x1=$(ticks "$xpid")
play_game=$(percent $((g1 - g0)) "$play_seconds")
play_x=$(percent $((x1 - x0)) "$play_seconds")
peak_kib=$(awk '/VmHWM/ { print $2 }' "/proc/$gpid/status")

kill -TERM "$gpid"
wait "$gpid" 2>/dev/null && code=0 || code=$?
gpid=""

echo "quarzel whole-program measurement ($exe)"
echo "  first picture after launch : $first_ms"
echo "  idle CPU, ${idle_seconds} s              : game $idle_game %  (X server $idle_x %)"
echo "  playing CPU, ${play_seconds} s           : game $play_game %  (X server $play_x %)"
echo "  peak RSS                   : $(awk -v k="$peak_kib" 'BEGIN { printf "%.1f", k / 1024 }') MiB"
echo "  exit code after SIGTERM    : $code"
if [ "$(grep -vc 'first frame' "$work/stderr")" -gt 0 ]; then
    echo "  standard error:"
    grep -v 'first frame' "$work/stderr" | sed 's/^/    /'
fi
