#!/usr/bin/env bash
# The desktop program's command line for a game, without a display:
# --players sets up a game of that many players where the game type allows
# them; --preview draws a move on the board, --heatmap simulates it first
# and writes its heat map over the board (the same picture every run),
# each kind of heat map its own picture; wrong uses of the options are
# refused with exit status 2.
#
#   launch_options_test.sh PEXIL RUN_DIR TEST_DATA WORK
set -euo pipefail
pexil=$1 run=$2 data=$3 work=$4

rm -rf "$work"
mkdir -p "$work/data"
for f in game.definitions font.ttf pane.ttf chars.bmp tchars.bmp texture3.bmp; do
  ln -s "$run/$f" "$work/data/$f"
done
cp "$data/movegen/words.lst" "$work/data/ENGLISH.LST"
export PEXIL_SETTINGS="$work/pexil.conf"

game=(--data "$work/data" --seed 11 --start-game 1 --moves 3 --size 1000x700)
shot() {  # name, then options
  local name=$1
  shift
  "$pexil" "${game[@]}" --screenshot "$work/$name.png" "$@"
  test -s "$work/$name.png"
}
same() { cmp -s "$work/$1.png" "$work/$2.png"; }

shot plain
shot preview --preview H8 YET
same plain preview && { echo "--preview H8 YET changed nothing in the picture"; exit 1; }
shot heat --heatmap --preview H8 YET
shot heat-again --preview H8 YET --heatmap replies
same preview heat && { echo "--heatmap changed nothing in the picture"; exit 1; }
same heat heat-again || { echo "the same heat map came out as two different pictures"; exit 1; }
shot scores --preview H8 YET --heatmap scores
shot next --preview H8 YET --heatmap next
for a in heat scores next; do
  for b in heat scores next; do
    if [ "$a" != "$b" ] && same "$a" "$b"; then echo "heat maps $a and $b are the same picture"; exit 1; fi
  done
done
echo "preview and three heat maps drawn"

refused() {  # expected text, then options
  local expected=$1
  shift
  local status=0
  "$pexil" "$@" --screenshot "$work/refused.png" 2>"$work/refused.txt" || status=$?
  if [ "$status" != 2 ] || ! grep -q -- "$expected" "$work/refused.txt"; then
    echo "pexil $* gave status $status and: $(cat "$work/refused.txt")"
    exit 1
  fi
  [ ! -e "$work/refused.png" ] || { echo "pexil $* wrote a picture"; exit 1; }
}
refused "no such move" "${game[@]}" --preview H8 QQQ
refused "no such move" "${game[@]}" --preview Z99 YET
refused "needs --preview" "${game[@]}" --heatmap
refused "replies, scores or next" "${game[@]}" --preview H8 YET --heatmap hot
refused "needs --start-game" --data "$work/data" --preview H8 YET
refused "takes a position and a word" "${game[@]}" --preview H8
refused "takes 1 to 4 players" "${game[@]}" --players 5
refused "takes 1 to 16" "${game[@]}" --players 0
echo "wrong uses refused"

# Three and four players: each a picture of its own (the panel grows).
shot three --players 3
shot four --players 4
same plain three && { echo "--players 3 drew the game of two"; exit 1; }
same three four && { echo "--players 4 drew the game of three"; exit 1; }
echo "games of three and four players drawn"
