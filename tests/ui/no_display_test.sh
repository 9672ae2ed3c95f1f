#!/usr/bin/env bash
# Without a display the desktop program does not open its window: it says
# so in one line that names the terminal game the way the program itself
# was named, and ends with status 1; the same when the display named cannot
# be opened. The picture path needs no display at all.
#
#   no_display_test.sh PEXIL WORK
set -euo pipefail
pexil=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
export PEXIL_SETTINGS="$work/pexil.conf"

expect_refusal() {  # what the line must say, then the environment to run in
  local says=$1
  shift
  local status=0
  env "$@" "$pexil" >"$work/out.txt" 2>"$work/err.txt" || status=$?
  if [ "$status" != 1 ]; then
    echo "status $status (wanted 1) with $*: $(cat "$work/err.txt")"
    exit 1
  fi
  if [ "$(wc -l <"$work/err.txt")" != 1 ] || [ -s "$work/out.txt" ]; then
    echo "wanted one line on standard error and nothing else, got:"
    cat "$work/out.txt" "$work/err.txt"
    exit 1
  fi
  for text in "$says" "${pexil%/*}/pexil-cli play"; do
    grep -qF -- "$text" "$work/err.txt" || { echo "the line lacks \"$text\": $(cat "$work/err.txt")"; exit 1; }
  done
  echo "refused: $(cat "$work/err.txt")"
}

expect_refusal "no display" -u DISPLAY -u WAYLAND_DISPLAY
# A display number that no server answers.
for n in $(seq 91 99); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    expect_refusal "cannot open the display :$n" -u WAYLAND_DISPLAY DISPLAY=":$n"
    break
  fi
done

env -u DISPLAY -u WAYLAND_DISPLAY "$pexil" --size 320x200 --screenshot "$work/shot.png"
test -s "$work/shot.png"
echo "the picture path ran without a display"
