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
# Every step waits, up to a deadline, for what it needs (a window shown, the
# keyboard focus, a file written, a program ended) and, when that does not
# come, fails with what there was instead. A busy machine only makes it slower.
# Usage: release-under-wine.sh NATIVE_BIN_DIR ZIP [INSTALLER]
set -euo pipefail

native_bin=$(realpath "$1")
zip=$(realpath "$2")
# The release's version, from its file name (SparrowflasherMaker-<version>-win64.zip).
version=$(basename "$zip" | sed -E 's/^SparrowflasherMaker-(.+)-win64\.zip$/\1/')
installer=${3:+$(realpath "$3")}
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
export WINEPREFIX="$work/prefix" HOME="$work/home"
mkdir -p "$HOME"
pid=""
cleanup() {
  if [[ -n "$pid" ]]; then kill "$pid" 2>/dev/null || true; fi
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# How long a step may wait, in seconds: Wine's first window on a new prefix
# takes seconds on a quiet machine and several times that on a busy one.
deadline=60

# The named windows on the display, one a line: id, shown or hidden, name.
windows_seen() {
  local id shown all
  if ! all=$(xdotool search --name . 2>/dev/null); then
    echo "  (no named window on $DISPLAY)"
    return
  fi
  shown=$(xdotool search --onlyvisible --name . 2>/dev/null) || shown=""
  for id in $all; do
    if grep -qx "$id" <<<"$shown"; then
      echo "  $id shown  '$(xdotool getwindowname "$id" 2>&1)'"
    else
      echo "  $id hidden '$(xdotool getwindowname "$id" 2>&1)'"
    fi
  done
}

# Runs the command every 0.1 s, its output dropped, until it succeeds (0) or
# the deadline passes (1).
within_deadline() {
  local end=$((SECONDS + deadline))
  while ((SECONDS < end)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# The shown windows of that name, or a failure when there is none.
window_shown() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }
window_not_shown() { ! window_shown "$1" >/dev/null; }
program_gone() { ! kill -0 "$pid" 2>/dev/null; }

# Waits for a shown window of that name and sets window_id to it. A window
# that exists but is not shown yet may still be in the middle of starting.
# (It sets a variable rather than print: a failure inside $(...) would not
# be counted.)
window_id=""
shown_window() {
  local ids
  if within_deadline window_shown "$1" && ids=$(window_shown "$1"); then
    window_id=$(head -1 <<<"$ids")
    return 0
  fi
  fail "no window '$1' was shown within $deadline s; the windows were:"$'\n'"$(windows_seen)"
  return 1
}

# Waits until no window of that name is shown.
window_gone() {
  within_deadline window_not_shown "$1" && return 0
  fail "the window '$1' was still shown after $deadline s; the windows were:"$'\n'"$(windows_seen)"
  return 1
}

# Gives the keyboard focus to the shown window of that name and waits until
# the X server has it there. Focus alone is not enough: Wine hands it to a
# new box before the box is shown, while the box may still be starting.
focus_on() {
  local id focused="" refused="" end
  shown_window "$1" || return 1
  id=$window_id end=$((SECONDS + deadline))
  while ((SECONDS < end)); do
    # The top-level window that holds the focus (the focus may be inside it).
    if focused=$(xdotool getwindowfocus 2>&1) && [[ $focused == "$id" ]]; then
      return 0
    fi
    if refused=$(xdotool windowfocus "$id" 2>&1); then refused=""; fi
    sleep 0.1
  done
  fail "the window '$1' ($id) did not take the keyboard focus within $deadline s;" \
    "the focus is on: $focused${refused:+; xdotool windowfocus said: $refused};" \
    "the windows were:"$'\n'"$(windows_seen)"
  return 1
}

# Real key presses (xdotool ARGS...) into the shown window of that name,
# once it has the focus.
keys_to() {
  local name=$1 said
  shift
  focus_on "$name" || return 1
  if ! said=$(xdotool "$@" 2>&1); then
    fail "xdotool $* into '$name' failed: $said"
    return 1
  fi
}

# Waits for the program started in the background to end; fails with the
# windows still there when it does not.
program_ended() {
  within_deadline program_gone && return 0
  fail "$1 did not end SparrowflasherMaker.exe within $deadline s; the windows were:"$'\n'"$(windows_seen)"
  return 1
}

# Waits for start-up to have seeded setting.ini from the release's
# default.ini; fails with what the file holds, or which files there are.
settings_seeded() {
  within_deadline grep -qF 'ImagePath1=C:\work\firmware.bin' "$settings" && return 0
  if [[ -f "$settings" ]]; then
    fail "setting.ini was not seeded from the release's default.ini; it holds:"$'\n'"$(cat "$settings")"
  else
    fail "setting.ini was not seeded from the release's default.ini: there is no $settings;" \
      "its folder holds: $(ls -A "$(dirname "$settings")" 2>&1)"
  fi
  return 1
}

# Makes a package through the dialog as a user does: Enter (Make), the path
# typed into the save chooser, Enter; Enter on the success box; Alt+F4.
# Each step waits for the window the step before must bring.
make_through_dialog() {
  local dialog="Tavlen Sparrowflasher Maker III V$version"
  shown_window "$dialog" || return 1
  settings_seeded || return 1
  keys_to "$dialog" key Return || return 1
  keys_to "Save As" type 'C:\work\Updater.exe' || return 1
  keys_to "Save As" key Return || return 1
  window_gone "Save As" || return 1
  keys_to "Success" key Return || return 1
  window_gone "Success" || return 1
  keys_to "$dialog" key alt+F4 || return 1
  program_ended "Alt+F4"
}

prepare_wine_prefix
drive_c="$WINEPREFIX/drive_c"

# 1. The ZIP, unpacked into a folder of its own.
mkdir -p "$drive_c/release" "$drive_c/work"
(cd "$drive_c/release" && cmake -E tar xf "$zip")
folder=$(echo "$drive_c"/release/SparrowflasherMaker-*-win64)
for program in SparrowflasherMaker.exe sfmaker.exe AP2.EXE default.ini schema/inspect.schema.json \
  schema/diff.schema.json; do
  [[ -f "$folder/$program" ]] || fail "the ZIP lacks $program"
done
head -c 70001 /dev/urandom >"$drive_c/work/firmware.bin"
# The seed names the image, so the first start has one.
sed -i 's/^ImagePath1=.*/ImagePath1=C:\\work\\firmware.bin/; s/^VersionString=.*/VersionString=2.0.7/' \
  "$folder/default.ini"

(cd "$folder" && exec wine SparrowflasherMaker.exe </dev/null >/dev/null 2>&1) &
pid=$!
settings="$drive_c/users/$(id -un)/AppData/Local/QX32_SparrowflasherMakerIII/setting.ini"
if ! make_through_dialog; then
  echo "The dialog's steps stopped at the failure above; the checks of what it left go on." >&2
fi

# 2. The package as the settings say.
package="$drive_c/work/Updater.exe"
report=""
if [[ ! -f "$package" ]]; then
  fail "the dialog made no package"
elif ! report=$("$native_bin/sfmaker" inspect --json "$package" 2>&1); then
  fail "sfmaker cannot read the package the dialog made: $report"
else
  for expected in '"version": "2.0.7"' '"length": 70001' "$(sha256sum "$drive_c/work/firmware.bin" | cut -c1-64)"; do
    grep -qF -- "$expected" <<<"$report" || fail "the package's report lacks '$expected'"
  done
fi

# 3. The installer, silently, and its sfmaker.exe.
if [[ -n "$installer" && -n "$report" ]]; then
  if wine "$installer" /S </dev/null >"$work/install.log" 2>&1; then
    installed="$drive_c/Program Files/Sparrowflasher Maker"
    for program in SparrowflasherMaker.exe sfmaker.exe AP2.EXE default.ini Uninstall.exe; do
      [[ -f "$installed/$program" ]] || fail "the installer did not install $program"
    done
    if ! wine "$installed/sfmaker.exe" inspect --json 'C:\work\Updater.exe' </dev/null \
      >"$work/installed-report.raw" 2>&1; then
      fail "the installed sfmaker.exe cannot read the package: $(cat "$work/installed-report.raw")"
    elif ! tr -d '\r' <"$work/installed-report.raw" | cmp -s - <(printf '%s\n' "$report"); then
      fail "the installed sfmaker.exe reports the package otherwise than sfmaker:" \
        "$(tr -d '\r' <"$work/installed-report.raw" | diff <(printf '%s\n' "$report") - 2>&1)"
    fi
  else
    fail "the installer failed: $(cat "$work/install.log")"
  fi
fi

if ((failures > 0)); then
  echo "$failures release check(s) failed" >&2
  exit 1
fi
echo "Release checks passed"
