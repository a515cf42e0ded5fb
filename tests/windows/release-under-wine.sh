#!/usr/bin/env bash
# Checks the Windows release as a user meets it, in a fresh Wine prefix on
# the X display in DISPLAY:
#  1. the ZIP, unpacked into a folder, holds the three programs and
#     default.ini side by side; SparrowflasherMaker.exe started there opens
#     its dialog, seeds setting.ini from that default.ini and, driven by real
#     key presses (xdotool), makes a package through the save chooser;
#  2. the package reads back with the Linux sfmaker as the settings say;
#  3. the installer, when there is one, installs silently, and the installed
#     sfmaker.exe reports that package as the Linux sfmaker does.
# Usage: release-under-wine.sh NATIVE_BIN_DIR ZIP [INSTALLER]
set -euo pipefail

native_bin=$(realpath "$1")
zip=$(realpath "$2")
installer=${3:+$(realpath "$3")}
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
export WINEPREFIX="$work/prefix" HOME="$work/home"
mkdir -p "$HOME"
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Waits up to 20 s for a window of that name; prints its id.
window_named() {
  local id
  for _ in $(seq 100); do
    if id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1) && [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# Real key presses into the window of that name.
keys_to() {
  local id
  id=$(window_named "$1") || {
    fail "no window '$1' appeared"
    return 1
  }
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  shift
  xdotool "$@"
}

prepare_wine_prefix
drive_c="$WINEPREFIX/drive_c"

# 1. The ZIP, unpacked into a folder of its own.
mkdir -p "$drive_c/release" "$drive_c/work"
(cd "$drive_c/release" && cmake -E tar xf "$zip")
folder=$(echo "$drive_c"/release/SparrowflasherMaker-*-win64)
for program in SparrowflasherMaker.exe sfmaker.exe AP2.EXE default.ini; do
  [[ -f "$folder/$program" ]] || fail "the ZIP lacks $program"
done
head -c 70001 /dev/urandom >"$drive_c/work/firmware.bin"
# The seed names the image, so the first start has one.
sed -i 's/^ImagePath1=.*/ImagePath1=C:\\work\\firmware.bin/; s/^VersionString=.*/VersionString=1.5.2/' \
  "$folder/default.ini"

(cd "$folder" && exec wine SparrowflasherMaker.exe </dev/null >/dev/null 2>&1) &
pid=$!
settings="$drive_c/users/$(id -un)/AppData/Local/QX32_SparrowflasherMakerIII/setting.ini"
if window_named "Tavlen Sparrowflasher Maker III V1.5.2" >/dev/null; then
  grep -q 'ImagePath1=C:\\work\\firmware.bin' "$settings" ||
    fail "setting.ini was not seeded from the release's default.ini"
  dialog="Tavlen Sparrowflasher Maker III V1.5.2"
  keys_to "$dialog" key Return &&
    keys_to "Save As" type 'C:\work\Updater.exe' &&
    keys_to "Save As" key Return &&
    keys_to "Success" key Return &&
    keys_to "$dialog" key alt+F4 || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$pid" 2>/dev/null && fail "Alt+F4 did not end SparrowflasherMaker.exe"
else
  fail "SparrowflasherMaker.exe showed no dialog"
fi

# 2. The package as the settings say.
package="$drive_c/work/Updater.exe"
if [[ -f "$package" ]]; then
  report=$("$native_bin/sfmaker" inspect --json "$package")
  for expected in '"version": "1.5.2"' '"length": 70001' "$(sha256sum "$drive_c/work/firmware.bin" | cut -c1-64)"; do
    grep -qF -- "$expected" <<<"$report" || fail "the package's report lacks '$expected'"
  done
else
  fail "the dialog made no package"
fi

# 3. The installer, silently, and its sfmaker.exe.
if [[ -n "$installer" && -f "$package" ]]; then
  if wine "$installer" /S </dev/null >/dev/null 2>&1; then
    installed="$drive_c/Program Files/Sparrowflasher Maker"
    for program in SparrowflasherMaker.exe sfmaker.exe AP2.EXE default.ini Uninstall.exe; do
      [[ -f "$installed/$program" ]] || fail "the installer did not install $program"
    done
    wine "$installed/sfmaker.exe" inspect --json 'C:\work\Updater.exe' </dev/null 2>&1 |
      tr -d '\r' >"$work/installed-report.json" || true
    "$native_bin/sfmaker" inspect --json "$package" | cmp -s - "$work/installed-report.json" ||
      fail "the installed sfmaker.exe reports the package otherwise than sfmaker"
  else
    fail "the installer failed"
  fi
fi

if ((failures > 0)); then
  echo "$failures release check(s) failed" >&2
  exit 1
fi
echo "Release checks passed"
