#!/usr/bin/env bash
# The installed programs: `cmake --install` into a fresh prefix P puts
# pexil-cli (and pexil) in P/bin, their data in P/share/pexil (without the
# machine-specific binary caches), the desktop entry in P/share/applications
# and the icon in P/share/icons/hicolor. Run from elsewhere, the installed
# pexil-cli finds its game types and word list there, and the installed
# pexil draws, without a display, the very picture the build's own pexil
# draws. The desktop entry is checked with desktop-file-validate.
#
#   install_test.sh CMAKE BUILD_DIR RUN_DIR WORK WITH_UI(ON|OFF)
set -euo pipefail
cmake=$1 build=$2 run=$3 work=$4 with_ui=$5

rm -rf "$work"
mkdir -p "$work/elsewhere"
prefix="$work/prefix with space"
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log"
export PEXIL_SETTINGS="$work/pexil.conf"

fail() { echo "$*"; exit 1; }
test -x "$prefix/bin/pexil-cli" || fail "no $prefix/bin/pexil-cli"
share="$prefix/share/pexil"
for f in game.definitions 2player.pt boardsim.scr; do
  test -f "$share/$f" || fail "no $share/$f"
done
[ -e "$share/pexil-cli" ] && fail "the program was copied into the data folder"
if ls "$share" | grep -q -E '\.(lexbin|rackbin)$'; then fail "binary caches were installed"; fi
[ -e "$prefix/bin/game.definitions" ] && fail "data in the bin folder"
echo "installed: $(ls "$share" | wc -l) data files in $share"

cd "$work/elsewhere"
"$prefix/bin/pexil-cli" --no-colour types >"$work/types.txt"
grep -q "Scrabble(R) - American English" "$work/types.txt" || fail "pexil-cli types: $(cat "$work/types.txt")"
if [ -f "$share/ENGLISH.LST" ]; then
  "$prefix/bin/pexil-cli" --no-colour check QI >"$work/check.txt" || fail "pexil-cli check QI: $(cat "$work/check.txt")"
  grep -q "QI: That is a valid word" "$work/check.txt" || fail "pexil-cli check QI: $(cat "$work/check.txt")"
  echo "the installed pexil-cli checked a word in $share/ENGLISH.LST"
else
  echo "no word lists in $run (scripts/setup makes them): the word check is left out"
fi

[ "$with_ui" = ON ] || exit 0

test -x "$prefix/bin/pexil" || fail "no $prefix/bin/pexil"
for f in font.ttf pane.ttf chars.bmp tchars.bmp texture1.bmp texture8.bmp; do
  test -f "$share/$f" || fail "no $share/$f"
done
shot=(--seed 3 --size 800x600)
[ -f "$share/ENGLISH.LST" ] && shot+=(--start-game 1 --moves 2)
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/pexil" "${shot[@]}" --screenshot "$work/installed.png"
env -u DISPLAY -u WAYLAND_DISPLAY "$run/pexil" "${shot[@]}" --screenshot "$work/built.png"
cmp -s "$work/installed.png" "$work/built.png" || fail "the installed pexil drew another picture than the built one: see $work"
echo "the installed pexil drew the built one's picture (${shot[*]})"

entry="$prefix/share/applications/pexil.desktop"
test -f "$entry" || fail "no $entry"
grep -qxF "Exec=\"$prefix/bin/pexil\"" "$entry" || fail "Exec of $entry: $(grep '^Exec' "$entry")"
grep -qxF "TryExec=$prefix/bin/pexil" "$entry" || fail "TryExec of $entry: $(grep '^TryExec' "$entry")"
grep -qx "Icon=pexil" "$entry" || fail "no Icon=pexil in $entry"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate refused $entry"
  echo "desktop entry valid"
else
  echo "desktop-file-validate is not installed (package desktop-file-utils): the entry is not validated"
fi

# The icons: PNG, RGBA, of their folder's size.
for size in 16 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x$size/apps/pexil.png"
  test -f "$icon" || fail "no $icon"
  header=$(od -An -tx1 -j16 -N10 "$icon" | tr -d ' \n')
  want=$(printf '%08x%08x0806' "$size" "$size")
  [ "$header" = "$want" ] || fail "$icon: header $header, wanted ${size}x$size RGBA ($want)"
done
echo "icons installed at seven sizes"
rm -rf "$prefix"
