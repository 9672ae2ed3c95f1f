# Sourced by the window tests: start_xvfb LOG starts a virtual X server on
# a display number the server picks itself (so that tests running side by
# side never share one, nor race for the same free number), exports
# DISPLAY and leaves the server's pid in XVFB_PID.
start_xvfb() {
  local number_file number=""
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x960x24 -nolisten tcp 3>"$number_file" >"$1" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do
    number=$(head -n 1 "$number_file" 2>/dev/null || true)
    [ -n "$number" ] && break
    sleep 0.1
  done
  rm -f "$number_file"
  if [ -z "$number" ]; then
    echo "the virtual X server did not start: see $1"
    return 1
  fi
  export DISPLAY=":$number"
}
