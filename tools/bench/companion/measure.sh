#!/usr/bin/env bash
# Runs bench_companion.exe and, from the Linux side, adds what Wine spends on the companion's
# behalf in wineserver, then keeps a screenshot of the bar on notepad's caption.
#   ./quillet host bash tools/bench/companion/measure.sh [seconds]
# Output: the bench's own figures, the Linux-side shares, build/screens/companion-bar.png.
set -u
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BIN=$ROOT/build/bin
SECONDS_TO_MEASURE=${1:-30}
mkdir -p "$ROOT/build/screens"

# Only processes of this prefix: other checkouts run the same programs at the same time.
ours() {
  local pid
  for pid in $(pgrep -f "$1"); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
}
ticks() { if [ -n "$1" ] && [ -f "/proc/$1/stat" ]; then awk '{print $14 + $15}' "/proc/$1/stat"; else echo 0; fi; }

wine "$BIN/bench_companion.exe" "$SECONDS_TO_MEASURE" > "$ROOT/build/screens/bench_companion.txt" 2>&1 &
bench=$!

bar=""
for _ in $(seq 1 100); do
  bar=$(ours 'qlt_bar\.exe' | head -1)
  [ -n "$bar" ] && break
  sleep 0.2
done
server=$(ours 'wineserver' | head -1)
sleep 3  # let the bar settle before the picture and the measurement
# Give the X focus to Wine's desktop (a click on notepad's caption, left of the bar), or every
# caption is drawn inactive.
xdotool mousemove 60 10 click 1
sleep 1
import -window root "$ROOT/build/screens/companion-bar.png"
hz=$(getconf CLK_TCK)
b0=$(ticks "$bar"); s0=$(ticks "$server"); t0=$(date +%s.%N)
sleep $((SECONDS_TO_MEASURE - 8))
b1=$(ticks "$bar"); s1=$(ticks "$server"); t1=$(date +%s.%N)
wait $bench
cat "$ROOT/build/screens/bench_companion.txt"
awk -v b="$((b1 - b0))" -v s="$((s1 - s0))" -v hz="$hz" -v t0="$t0" -v t1="$t1" 'BEGIN {
  wall = t1 - t0
  printf "Linux side over %.1f s: qlt_bar.exe %.2f %%, wineserver %.2f %% of one core\n", wall, 100 * b / hz / wall, 100 * s / hz / wall
}'
echo "screenshot: $ROOT/build/screens/companion-bar.png"
