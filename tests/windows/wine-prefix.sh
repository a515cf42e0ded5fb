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
