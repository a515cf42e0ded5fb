# shellcheck shell=bash
# Sourced by the scripts that draw windows without a desktop
# (scripts/test-windows, scripts/screenshots, scripts/screen-reader): an X server of their own.

# Starts Xvfb on a display number it picks itself, so that other runs on this
# machine keep theirs, with a screen of SIZE (default 1024x768x24); exports
# DISPLAY and sets `xvfb` to its process id. The caller stops it.
start_xvfb() {
  local display_file xvfb_log end display
  display_file=$(mktemp)
  xvfb_log=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -noreset -nolisten tcp 3>"$display_file" \
    >"$xvfb_log" 2>&1 &
  xvfb=$!
  # Xvfb writes its display number once it takes clients; a busy machine may
  # take a while, a failed start ends the wait at once.
  end=$((SECONDS + 60))
  while [[ ! -s "$display_file" ]] && kill -0 "$xvfb" 2>/dev/null && ((SECONDS < end)); do
    sleep 0.1
  done
  if [[ ! -s "$display_file" ]]; then
    echo "Xvfb gave no display within 60 s; it said:" >&2
    cat "$xvfb_log" >&2
    kill "$xvfb" 2>/dev/null || true
    rm -f "$display_file" "$xvfb_log"
    return 1
  fi
  display=$(head -1 "$display_file")
  export DISPLAY=":$display"
  rm -f "$display_file" "$xvfb_log"
}
