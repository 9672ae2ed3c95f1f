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

source "$(dirname "$0")/../ui/xvfb.sh"
trap 'kill "${XVFB_PID:-}" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
start_xvfb "$work/xvfb.log"
cd "$work"
"$program" "$@"
