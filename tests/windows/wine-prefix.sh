# shellcheck shell=bash
# Sourced by the scripts that run the Windows programs under Wine
# (scripts/test-windows, tests/windows/release-under-wine.sh): how Wine runs
# for them, and how a prefix is made ready for windows on an X display.

# Quiet and 64-bit, and no menu entries made on the host for what runs.
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES=winemenubuilder.exe=d

# Makes the prefix in WINEPREFIX, where it is new. There is no window
# manager: Wine must draw its windows, and close them, without waiting for one.
prepare_wine_prefix() {
  wine wineboot -i </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
}

# Runs a command with the prefix's screen at DPI dots per inch, then puts
# back the value that was there, or none. Wine takes the DPI from
# HKCU\Control Panel\Desktop\LogPixels, before the machine-wide value under
# Hardware Profiles, as each program starts.
run_at_dpi() {
  local dpi=$1 key='HKCU\Control Panel\Desktop' query before="" status=0
  shift
  if query=$(wine reg query "$key" /v LogPixels </dev/null 2>/dev/null); then
    before=$(printf '%s\n' "$query" | tr -d '\r' | awk '$1 == "LogPixels" { print $3 }')
  fi
  wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
  "$@" || status=$?
  if [[ -n "$before" ]]; then
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$((before))" /f </dev/null >/dev/null 2>&1
  else
    wine reg delete "$key" /v LogPixels /f </dev/null >/dev/null 2>&1
  fi
  return "$status"
}
