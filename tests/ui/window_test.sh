#!/usr/bin/env bash
# The desktop program's window on a virtual X server: starts pexil on
# Xvfb with a seeded game, waits for its window, takes a screenshot of it
# with ImageMagick's import and compares the view's part of it with the
# program's own PNG export of the same paint. They must be equal pixel for
# pixel. The game shows a previewed move with its heat map, and the window
# must show exactly what --screenshot draws for the same options. Then it
# picks "Pig Latin" from the UI Language menu with the keyboard (F10, two
# menus to the left, third item) and checks that the choice was stored,
# and starts a game of three players from "Start game..." (F10, one menu to
# the right, first item; Tab to the number of players, 3, Enter) and checks
# that the players' panel grew to three players. Skipped (exit 77) when
# Xvfb, xdotool or ImageMagick is missing.
#
#   window_test.sh PEXIL RUN_DIR TEST_DATA WORK
set -euo pipefail
pexil=$1 run=$2 data=$3 work=$4

for tool in Xvfb xdotool import convert compare; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed, so the window test cannot run"
    exit 77
  fi
done

rm -rf "$work"
mkdir -p "$work/data"
# A data folder of its own: the run folder's drawing files and game types,
# and the small fixture word list standing in for the English list.
for f in game.definitions font.ttf pane.ttf chars.bmp tchars.bmp texture1.bmp texture2.bmp texture3.bmp \
         texture4.bmp texture5.bmp texture6.bmp texture7.bmp texture8.bmp; do
  ln -s "$run/$f" "$work/data/$f"
done
cp "$data/movegen/words.lst" "$work/data/ENGLISH.LST"
export PEXIL_SETTINGS="$work/settings/pexil.conf"
export XDG_CONFIG_HOME="$work/config"
export NO_AT_BRIDGE=1

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

source "$(dirname "$0")/xvfb.sh"
start_xvfb "$work/xvfb.log"
pids+=("$XVFB_PID")

previewed=(--data "$work/data" --seed 11 --start-game 1 --moves 3 --size 1000x700 --preview H8 YET)
game=("${previewed[@]}" --heatmap)
"$pexil" "${game[@]}" --screenshot "$work/screenshot.png"
start=$(date +%s.%N)
"$pexil" "${game[@]}" --export-after-show "$work/export.png" >"$work/pexil.log" 2>&1 &
pids=("$!" "${pids[@]}")
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Pexil$' | head -n 1)
for _ in $(seq 1 200); do
  [ -e "$work/export.png" ] && break
  sleep 0.1
done
end=$(date +%s.%N)
[ -e "$work/export.png" ] || { echo "pexil wrote no export"; cat "$work/pexil.log"; exit 1; }
echo "window $window shown and painted after $(echo "$end - $start" | bc 2>/dev/null || echo '?') s"
# Let the paint reach the server.
sleep 0.5
import -window "$window" "$work/screen.png"
read -r x y w h <"$work/export.png.geometry"
echo "view at $x,$y size ${w}x$h"
convert "$work/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$work/view.png"
differing=$(compare -metric AE "$work/view.png" "$work/export.png" null: 2>&1 || true)
echo "pixels differing: $differing"
if [ "$differing" != "0" ]; then
  compare "$work/view.png" "$work/export.png" "$work/difference.png" 2>/dev/null || true
  echo "the window differs from the export: see $work"
  exit 1
fi

# The window shows what --screenshot draws.
if ! cmp -s "$work/export.png" "$work/screenshot.png"; then
  differing=$(compare -metric AE "$work/export.png" "$work/screenshot.png" null: 2>&1 || true)
  echo "the window's picture differs from --screenshot in $differing pixels: see $work"
  exit 1
fi
echo "the window shows the previewed move and its heat map as --screenshot draws them"

# The modifier keys switch the heat map: once Ctrl has gone down and up the
# board shows the preview alone (no key held, the lock off), and while
# Shift is held the heat map of the replies again. The board of the window
# (615 pixels square from (8, 42) in a view of 1000x700) against the boards
# that --screenshot draws.
"$pexil" "${previewed[@]}" --screenshot "$work/preview-only.png"
board() {  # picture in, board out; the window's screenshot is moved by the view's place
  convert "$1" -crop "615x615+$((8 + $3))+$((42 + $4))" +repage "$2"
}
board "$work/screenshot.png" "$work/board-heat.png" 0 0
board "$work/preview-only.png" "$work/board-preview.png" 0 0
window_board() {  # name: the window's board now, compared with board-NAME.png
  local got=""
  for _ in $(seq 1 30); do
    sleep 0.1
    import -window "$window" "$work/now.png"
    board "$work/now.png" "$work/board-now.png" "$x" "$y"
    got=$(compare -metric AE "$work/board-now.png" "$work/board-$1.png" null: 2>&1 || true)
    [ "$got" = "0" ] && return 0
  done
  echo "the window's board differs from board-$1.png in $got pixels: see $work"
  exit 1
}
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key ctrl
window_board preview
xdotool keydown shift
window_board heat
xdotool keyup shift
window_board preview
echo "Ctrl and Shift switch the heat map of the preview"

# The language menu: the choice is stored at once.
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key F10
sleep 0.4
xdotool key Left
sleep 0.2
xdotool key Left
sleep 0.2
xdotool key Down Down Down
sleep 0.2
xdotool key Return
for _ in $(seq 1 50); do
  grep -q '^UILang=1' "$PEXIL_SETTINGS" 2>/dev/null && break
  sleep 0.1
done
if ! grep -q '^UILang=1' "$PEXIL_SETTINGS" 2>/dev/null; then
  echo "choosing Pig Latin from the UI Language menu stored no UILang=1"
  exit 1
fi
echo "UI language chosen from the menu and stored"


# "Start game..." with three players. The panel is white from 8 pixels
# down, (S + 24 + 8) per player plus 12 high: S = 41 on this board, so it
# ends at row 8 + 73 * 3 + 12 - 1 = 238 for three players (166 for two).
pixel() {  # x y of the view -> rrggbb
  convert "$work/after.png" -crop "1x1+$((x + $1))+$((y + $2))" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key F10
sleep 0.4
xdotool key Right
sleep 0.2
xdotool key Down Return
dialog=""
for _ in $(seq 1 50); do
  dialog=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -v "^$window\$" | head -n 1 || true)
  [ -n "$dialog" ] && break
  sleep 0.1
done
if [ -z "$dialog" ]; then
  import -window root "$work/no-dialog.png" 2>/dev/null || true
  echo "no start-game dialog appeared: see $work/no-dialog.png"
  exit 1
fi
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.3
xdotool key Tab
sleep 0.2
xdotool key ctrl+a
xdotool type 3
sleep 0.2
xdotool key Return
panel=""
for _ in $(seq 1 100); do
  sleep 0.1
  import -window "$window" "$work/after.png"
  panel=$(pixel 641 238)
  below=$(pixel 641 239)
  # Both rows, not the first alone: before the new game is drawn the text
  # pane's white frame may lie on the first.
  [ "$panel" = "#FFFFFF" ] && [ "$below" = "#00002F" ] && break
done
if [ "$panel" != "#FFFFFF" ] || [ "$below" != "#00002F" ]; then
  echo "after starting a game of three players the panel's last row is $panel and the row below $below"
  exit 1
fi
echo "a game of three players started from the dialog"
