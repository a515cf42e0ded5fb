#!/usr/bin/env bash
# Checks that packages cross between the two systems:
#  1. a package made by the Linux sfmaker with the Windows AP2.EXE as its
#     template runs under Wine and reports its payload (texts, image sizes and
#     SHA-256), and its --extract gives the images back;
#  2. sfmaker.exe under Wine makes a package byte-identical to the Linux
#     sfmaker's for the same inputs and --time;
#  3. both Windows programs report a package exactly as the Linux sfmaker does.
# Usage: packages-under-wine.sh NATIVE_BIN_DIR WINDOWS_BIN_DIR
# Wine must be set up by the caller (WINEPREFIX, a running wineserver).
set -euo pipefail

native_bin=$(realpath "$1")
windows_bin=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Inputs with every byte value, sizes that are not multiples of 4, a command key;
# names and texts beyond ASCII and beyond the ANSI code page, which the Windows
# programs must take from the wide command line.
internal="internal-é中.bin"
head -c 70001 /dev/urandom >"$internal"
head -c 4099 /dev/urandom >external.bin
printf 'wine-command-key' >cmd.key

make_arguments=(
  --internal "$internal" --external external.bin
  --title "Tavlen Sparrowflasher V9.8.7" --text "Crossing systems: é€中" --note "Made on one, run on the other"
  --version 9.8.7 --ap-vid 1A2B --ap-pid 3C4D --ap-usage 01 --iap-vid 1A2B --iap-pid 3C4E --iap-usage 02
  --digest BEEF --cmd-key cmd.key --cmd-via-control-endpoint --time 1700000000
)

# 1. Linux-made package with the Windows template, run under Wine.
"$native_bin/sfmaker" make --template "$windows_bin/AP2.EXE" --output linux-made.exe \
  "${make_arguments[@]}" >/dev/null
if ! report=$(wine linux-made.exe </dev/null 2>&1); then
  fail "the Linux-made package did not run under Wine: $report"
fi
for expected in "Tavlen Sparrowflasher V9.8.7" "Crossing systems: é€中" "Made on one, run on the other" \
  "9.8.7" "1A2B" "3C4D" "3C4E" "70001" "4099" \
  "$(sha256sum "$internal" | cut -c1-64)" "$(sha256sum external.bin | cut -c1-64)"; do
  grep -qF -- "$expected" <<<"$report" || fail "the package's report lacks '$expected'"
done
mkdir "extracted-中"
if wine linux-made.exe --extract "extracted-中" </dev/null >/dev/null 2>&1; then
  for image in internal external; do
    original=$internal
    [[ $image == external ]] && original=external.bin
    found=$(find "extracted-中" -iname "*$image*" -type f | head -1)
    if [[ -z "$found" ]] || ! cmp -s "$found" "$original"; then
      fail "--extract under Wine did not give the $image image back"
    fi
  done
else
  fail "--extract under Wine failed"
fi

# 2. The same package made by sfmaker.exe (AP2.EXE beside it is the template).
if ! wine "$windows_bin/sfmaker.exe" make --output "windows-made-é中.exe" "${make_arguments[@]}" \
  </dev/null >wine-make.log 2>&1; then
  fail "sfmaker.exe make failed under Wine: $(cat wine-make.log)"
elif ! cmp linux-made.exe "windows-made-é中.exe"; then
  fail "sfmaker.exe and the Linux sfmaker made different packages"
fi

# 3. The Windows report (SHA-256 through the system's cryptography API) is the
#    Linux one (OpenSSL), from sfmaker.exe and from the package itself.
"$native_bin/sfmaker" inspect --json linux-made.exe >linux-report.json
# Runs a Windows program (WHAT, then its command line) under Wine and
# compares its report, without the Windows line ends, with the Linux one.
same_report() {
  local what=$1
  shift
  if ! wine "$@" </dev/null >wine-report.raw 2>&1; then
    fail "$what failed under Wine: $(cat wine-report.raw)"
  elif ! tr -d '\r' <wine-report.raw | cmp -s linux-report.json -; then
    fail "$what differs from sfmaker's:"$'\n'"$(tr -d '\r' <wine-report.raw | diff linux-report.json -)"
  fi
}
same_report "sfmaker.exe inspect --json" "$windows_bin/sfmaker.exe" inspect --json linux-made.exe
same_report "the package's --json report" linux-made.exe --json

if ((failures > 0)); then
  echo "$failures cross-system package check(s) failed" >&2
  exit 1
fi
echo "Cross-system package checks passed"
