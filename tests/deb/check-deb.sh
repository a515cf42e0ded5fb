#!/usr/bin/env bash
# Checks the Linux release as a user meets it:
#   tests/deb/check-deb.sh sparrowflasher-maker_<version>_<arch>.deb
# The package's fields and dependencies, lintian (no errors), the desktop
# entry and the metainfo; then the package unpacked into a scratch root
# (dpkg -x, so not where it would be installed: the programs must find their
# files relative to their own folder) makes a package with sfmaker, inspects
# it, runs it, and starts the dialog without a display where the desktop entry
# starts it, which must seed the user's settings from the installed
# default.ini; and a firmware built with a cross compiler makes its package
# through the CMake files it installs (tests/deb/firmware-build.sh). The exit
# status is the result.
set -euo pipefail
deb=$(realpath "$1")
app_id=com.tavlen.SparrowflasherMaker

fail() {
  echo "check-deb: $*" >&2
  exit 1
}
field() { dpkg-deb --field "$deb" "$1"; }

# The file name is made of the package's own fields.
expected="$(field Package)_$(field Version)_$(field Architecture).deb"
[[ "$(basename "$deb")" == "$expected" ]] || fail "$(basename "$deb") should be named $expected"
# The libraries the programs link were worked out, not left to chance.
for library in libc6 libstdc++6 libqt6widgets6 libssl3; do
  [[ "$(field Depends)" == *"$library "* ]] || fail "Depends lacks $library: $(field Depends)"
done

echo "== lintian"
lintian --fail-on error "$deb"

scratch=$(mktemp -d)
dialog=""
cleanup() {
  if [[ -n "$dialog" ]]; then kill "$dialog" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
root="$scratch/root"
dpkg -x "$deb" "$root"

echo "== desktop entry, metainfo and icons"
entry="$root/usr/share/applications/$app_id.desktop"
desktop-file-validate "$entry"
appstreamcli validate-tree --no-net "$root"
for size in 16 24 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  file "$icon" | grep -q "PNG image data, $size x $size" || fail "no $size-pixel icon: $icon"
done
[[ -s "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" ]] || fail "no SVG icon"
for program in usr/bin/SparrowflasherMaker usr/bin/sfmaker usr/lib/sparrowflasher-maker/AP2.EXE; do
  file "$root/$program" | grep -q ", stripped" || fail "$program is not stripped"
done
for completion in bash-completion/completions/sfmaker zsh/vendor-completions/_sfmaker \
  fish/vendor_completions.d/sfmaker.fish; do
  [[ -s "$root/usr/share/$completion" ]] || fail "no shell completion usr/share/$completion"
done
for schema in inspect diff; do
  python3 -m json.tool "$root/usr/share/sparrowflasher-maker/schema/$schema.schema.json" >/dev/null ||
    fail "no JSON Schema usr/share/sparrowflasher-maker/schema/$schema.schema.json"
done
# What the entry starts, and where, lies in the package.
exec_path=$(sed -n 's/^Exec=//p' "$entry")
start_folder=$(sed -n 's/^Path=//p' "$entry")
[[ -x "$root$exec_path" ]] || fail "the entry starts $exec_path, which the package lacks"
[[ -f "$root$start_folder/default.ini" ]] || fail "the entry starts in $start_folder, without default.ini"

echo "== sfmaker from the scratch root"
work="$scratch/work"
mkdir -p "$work"
# A user of one's own, whose settings folder holds no template.
export HOME="$scratch/home"
unset XDG_DATA_HOME
head -c 5000 /dev/urandom >"$work/firmware.bin"
"$root/usr/bin/sfmaker" make --output "$work/Updater.exe" --internal "$work/firmware.bin" \
  --title "Installed" --time 1700000000 2>"$work/make.err"
cat "$work/make.err"
grep -qx "template: $root/usr/lib/sparrowflasher-maker/AP2.EXE" "$work/make.err" ||
  fail "sfmaker did not take the installed template"
"$root/usr/bin/sfmaker" inspect "$work/Updater.exe" | tee "$work/inspect.txt"
grep -q "^Title: *Installed$" "$work/inspect.txt" || fail "inspect does not show the title"
"$work/Updater.exe" | grep -q "^Internal image: 5000 bytes" || fail "the package does not run"

echo "== the CMake package, in a firmware build"
tests=$(dirname "${BASH_SOURCE[0]}")
"$tests/firmware-build.sh" "$root"

echo "== the dialog from the scratch root, offscreen"
settings="$HOME/.local/share/QX32_SparrowflasherMakerIII/setting.ini"
(cd "$root$start_folder" && exec env QT_QPA_PLATFORM=offscreen "$root$exec_path") &
dialog=$!
# The first start seeds setting.ini, then the dialog waits for its user. A
# busy machine only makes that slower: wait up to 60 s, unless it ends.
seed="$root$start_folder/default.ini"
end=$((SECONDS + 60))
while ! cmp -s "$settings" "$seed" && kill -0 "$dialog" 2>/dev/null && ((SECONDS < end)); do
  sleep 0.1
done
if ! cmp -s "$settings" "$seed"; then
  if [[ -f "$settings" ]]; then
    fail "setting.ini was not seeded from default.ini; it holds:"$'\n'"$(cat "$settings")"
  fi
  fail "setting.ini was not seeded from default.ini: there is no $settings"
fi
kill -0 "$dialog" 2>/dev/null || fail "the dialog did not stay open"
# Closed the way a session closes it; it must end by that signal, not crash.
kill -TERM "$dialog"
status=0
wait "$dialog" || status=$?
dialog=""
[[ $status -eq 143 ]] || fail "the dialog ended with status $status instead of closing"
echo "check-deb: $(basename "$deb") passes"
