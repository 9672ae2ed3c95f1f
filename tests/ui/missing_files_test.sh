#!/usr/bin/env bash
# Without fonts, textures or glyph files the desktop program still draws a
# game (tiles in flat colours, no text) and exports its picture; without
# game types too it draws the empty view.
#
#   missing_files_test.sh PEXIL SOURCE_DIR TEST_DATA WORK
set -euo pipefail
pexil=$1 source=$2 data=$3 work=$4
rm -rf "$work"
mkdir -p "$work/empty" "$work/game"
export PEXIL_SETTINGS="$work/pexil.conf"
"$pexil" --data "$work/empty" --start-game 1 --screenshot "$work/empty.png" --size 640x480 2>/dev/null
test -s "$work/empty.png"
cp "$source/data/game.definitions" "$work/game/"
cp "$data/movegen/words.lst" "$work/game/ENGLISH.LST"
"$pexil" --data "$work/game" --seed 1 --start-game 1 --moves 2 --screenshot "$work/game.png" --size 640x480
test -s "$work/game.png"
echo "pictures drawn without fonts and textures"
