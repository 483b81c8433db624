#!/usr/bin/env bash
# The scripted demo, run by `./quillet demo` inside the Wine environment (display, prefix and
# session are up): Quillet and Wine's notepad side by side, text typed into notepad, a selection
# captured into a new text clip through the title-bar button, the clip saved, a stored clip
# inserted into notepad. A screenshot after each step goes to build/demo/; every step waits for
# what it expects to see, never for a fixed time.
set -euo pipefail
BUILD=${1:?usage: tools/demo.sh BUILD_FOLDER}
BIN=$BUILD/bin
OUT=$BUILD/demo
APP=$OUT/app

say() { echo "demo: $*"; }
fail() {
  say "FAILED: $*"
  import -window root "$OUT/failed.png" && say "  the screen at that moment: $OUT/failed.png"
  exit 1
}

# The Windows side of the script: waits and reads states of the running programs.
driver() { wine "$BIN/demo_driver.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
expect() { driver "$@" || fail "$*"; }

# The screen is taken once two captures in a row are equal: the programs have painted.
SHOT=0
shot() {
  local name=$1 previous="" current tmp="$OUT/.shot.rgb"
  SHOT=$((SHOT + 1))
  local file; file=$(printf '%s/%02d-%s.png' "$OUT" "$SHOT" "$name")
  for _ in $(seq 1 40); do
    import -window root -depth 8 "rgb:$tmp"
    current=$(md5sum <"$tmp")
    [ "$current" = "$previous" ] && break
    previous=$current
  done
  convert -size "$(xdpyinfo | awk '/dimensions:/ {print $2}')" -depth 8 "rgb:$tmp" "$file"
  rm -f "$tmp"
  say "  screenshot $file"
}

command -v xdotool >/dev/null || fail "xdotool is missing (./quillet setup installs it)"

# Typed keys reach the X window that has the X focus, and Wine hands them on from there. Under
# the virtual desktop that X focus can stay with a program that has lost the Windows foreground to
# another process, and keys sent there are lost: give it to the window meant to take the keys.
#   xkeys "WINDOW TITLE" key|type ARGS...
xkeys() {
  local title=$1 window
  shift
  window=$(xdotool search --onlyvisible --name "^$title\$" | head -1)
  [ -n "$window" ] || fail "no X window \"$title\""
  xdotool windowfocus --sync "$window"
  xdotool "$@"
}
[ -f "$BIN/demo_driver.exe" ] || fail "demo_driver.exe is not built"

# A portable installation of its own: the local marker keeps the stores beside the program, and
# the demo stores are its starting content. Nothing of a real storage folder is touched.
rm -rf "$OUT"
mkdir -p "$APP"
cp "$BIN/quilletmain.exe" "$BIN/qlt_bar.exe" "$APP/"
[ -f "$BIN/lang.pkg" ] && cp "$BIN/lang.pkg" "$APP/"
cp "$BIN/text_en.qdb" "$APP/text.qdb"
cp "$BIN/img.qdb" "$APP/img.qdb"
: >"$APP/local.ini"

say "1. starting Quillet from $APP (stores: the demo stores)"
(cd "$APP" && exec wine ./quilletmain.exe </dev/null >/dev/null 2>&1) &
expect wait-main ready
wine "$BIN/shell_tray_poke.exe" left </dev/null >/dev/null 2>&1 || fail "no tray icon"
expect wait-main list
driver main | sed 's/^/     /'
shot quillet-window
wine "$BIN/shell_tray_poke.exe" left </dev/null >/dev/null 2>&1
expect wait-main hidden

say "2. starting notepad and typing into it"
(exec wine notepad </dev/null >/dev/null 2>&1) &
expect activate Notepad
NOTEPAD="Untitled - Notepad"
LINE1="Meeting notes, Friday"
LINE2="Quillet keeps this line as a clip"
xkeys "$NOTEPAD" type --delay 20 "$LINE1"
xkeys "$NOTEPAD" key Return
xkeys "$NOTEPAD" type --delay 20 "$LINE2"
expect wait-text Notepad "$LINE2"
say "   notepad holds: $LINE1 / $LINE2"

# The companion puts its buttons on notepad's caption. The main program starts it when the bar is
# switched on; starting it here as well is harmless, as a second companion leaves at once.
(cd "$APP" && exec wine ./qlt_bar.exe </dev/null >/dev/null 2>&1) &
POS=$(driver bar-button capture) || fail "no title-bar buttons on notepad"
read -r CAPTURE_X CAPTURE_Y <<<"$POS"
shot notepad-typed

say "3. selecting the second line in notepad"
xkeys "$NOTEPAD" key shift+Home
SELECTED=$(driver wait-selection Notepad) || fail "nothing selected in notepad"
say "   selected: \"$SELECTED\""
shot notepad-selection

say "4. capturing the selection with the title-bar capture button ($CAPTURE_X, $CAPTURE_Y)"
xdotool mousemove "$CAPTURE_X" "$CAPTURE_Y" click 1
expect wait-main editor "$SELECTED"
driver main | sed 's/^/     /'
shot captured-into-new-clip

say "5. saving the new clip (Ctrl+S)"
xkeys Quillet key ctrl+s
expect wait-main list 0
CLIP0=$(driver item 0) || fail "no list"
[ "$CLIP0" = "$SELECTED" ] || fail "item 0 is \"$CLIP0\", not the captured text"
driver main | sed 's/^/     /'
shot saved-as-item-0

say "6. inserting a stored clip into notepad at a new line"
# Notepad takes the foreground back (the main window remembers it as the target) and the caret
# goes to a new last line. The tray icon hides the open window and opens it again in the middle
# of the screen; a click on a clip and Enter insert it into notepad.
expect activate Notepad
xkeys "$NOTEPAD" key ctrl+End Return
expect wait-new-line Notepad
wine "$BIN/shell_tray_poke.exe" left </dev/null >/dev/null 2>&1
expect wait-main hidden
wine "$BIN/shell_tray_poke.exe" left </dev/null >/dev/null 2>&1
expect wait-main list
POS=$(driver item-point 1) || fail "no list in the main window"
read -r ITEM_X ITEM_Y <<<"$POS"
say "   clicking item 1 at ($ITEM_X, $ITEM_Y)"
xdotool mousemove "$ITEM_X" "$ITEM_Y" click 1
expect wait-main list 1
CLIP1=$(driver item 1) || fail "no list"
FIRST_WORDS=$(printf '%s' "$CLIP1" | cut -c1-24)
say "   inserting item 1: \"$CLIP1\""
shot clip-chosen
xkeys Quillet key Return
expect wait-main hidden
expect wait-text Notepad "$FIRST_WORDS"
shot inserted-into-notepad

say "7. what the programs hold now"
driver text Notepad | sed 's/^/     notepad: /'
driver clipboard | sed 's/^/     /'
say "done: screenshots in $OUT"
