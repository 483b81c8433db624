#!/usr/bin/env bash
# Screenshots of the main window and the open tray menu under the Wine desktop, for looking at.
#   ./quillet host bash tests/e2e/shell/screenshots.sh
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BIN=$ROOT/build/bin
OUT=$ROOT/build/shots
mkdir -p "$OUT"
poke() { wine "$BIN/shell_tray_poke.exe" "$@" </dev/null >/dev/null 2>&1 || true; }
shot() { sleep 1.2; import -window root "$OUT/$1.png"; echo "wrote $OUT/$1.png"; }

wine "$BIN/quilletmain.exe" </dev/null >/dev/null 2>&1 &
MAIN=$!
sleep 3
poke left;  shot shell-window
# The Graphics header sits at the foot of the centred 300 x 345 window.
xdotool mousemove 640 558 click 1; sleep 0.5; xdotool mousemove 900 700
shot shell-window-graphics
xdotool mousemove 640 236 click 1; sleep 0.3; xdotool mousemove 900 700
poke left;  sleep 0.5
poke menu;  shot shell-traymenu
poke key 40; poke key 40; poke key 40; poke key 39; sleep 0.3; poke key 40; poke key 40; poke key 40; poke key 40; poke key 40; poke key 39
shot shell-traymenu-submenu   # Settings, then its Check boxes submenu
poke key 27; poke key 27; sleep 0.5
poke menu;  sleep 1; poke key 38; poke key 13
wait $MAIN && echo "quilletmain ended with code $?"
