#!/usr/bin/env bash
# The dialog tests on a virtual X server of their own: starts Xvfb on a
# free display and runs the test program there. Skipped (exit 77) when
# Xvfb is missing.
#
#   dialogs_test.sh TEST_PROGRAM WORK [gtest options]
set -euo pipefail
program=$1 work=$2
shift 2

if ! command -v Xvfb >/dev/null; then
  echo "SKIPPED: Xvfb is not installed, so the dialog tests cannot run"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"
export XDG_CONFIG_HOME="$work/config"
export NO_AT_BRIDGE=1
# The file chooser keeps its settings in memory, without a session bus.
export GSETTINGS_BACKEND=memory

display=""
for n in $(seq 71 99); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display number"; exit 1; }

Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
export DISPLAY=$display
cd "$work"
"$program" "$@"
