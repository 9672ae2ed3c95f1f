#!/usr/bin/env bash
# The desktop program played as a person would, on a virtual X server of
# its own: prepares a data folder (the run folder's drawing files and game
# types, the small fixture word list standing in for the English list),
# starts Xvfb on a free display and runs the test program there, in that
# folder. Skipped (exit 77) when Xvfb is missing.
#
#   play_test.sh TEST_PROGRAM RUN_DIR TEST_DATA WORK [gtest options]
#
# PLAY_TEST_WRAP, when set, is put before the program (a debugger, e.g.
# "gdb -batch -x commands --args"). The files the test saves, and the pane
# of each test as it ended, are left in WORK/files.
set -euo pipefail
program=$1 run=$2 data=$3 work=$4
shift 4

if ! command -v Xvfb >/dev/null; then
  echo "SKIPPED: Xvfb is not installed, so the window play test cannot run"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work/data" "$work/files" "$work/bin"
for f in game.definitions font.ttf pane.ttf chars.bmp tchars.bmp texture1.bmp texture2.bmp texture3.bmp \
         texture4.bmp texture5.bmp texture6.bmp texture7.bmp texture8.bmp; do
  ln -s "$run/$f" "$work/data/$f"
done
cp "$data/movegen/words.lst" "$work/data/ENGLISH.LST"
export PEXIL_SETTINGS="$work/settings/pexil.conf"
export PEXIL_PLAY_FILES="$work/files"
export XDG_CONFIG_HOME="$work/config"
export NO_AT_BRIDGE=1
# The file chooser keeps its settings in memory, without a session bus.
export GSETTINGS_BACKEND=memory
# The website command opens no real browser: whichever opener the toolkit
# reaches first notes the address instead.
for opener in xdg-open x-www-browser www-browser sensible-browser firefox; do
  printf '#!/bin/sh\necho "$@" >>"%s"\n' "$work/files/opened-urls" >"$work/bin/$opener"
  chmod +x "$work/bin/$opener"
done
export PATH="$work/bin:$PATH"
export BROWSER="$work/bin/www-browser"

source "$(dirname "$0")/../ui/xvfb.sh"
trap 'kill "${XVFB_PID:-}" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
start_xvfb "$work/xvfb.log"
cd "$work/data"
${PLAY_TEST_WRAP:-} "$program" "$@"
