#!/usr/bin/env bash
# The CMake files of the Windows release in a firmware build, as far as this
# machine can take them. There is no CMake for Windows here, so the Linux
# cmake configures examples/cortex-m against the release: find_package must
# find the cmake/ folder of the unpacked ZIP from the folder's prefix alone,
# with the sfmaker.exe and AP2.EXE beside it, and the command the build runs
# to make the package is run as it stands, with sfmaker.exe under Wine. That
# package must hold what the example asks for and be the bytes the Linux
# sfmaker makes from the same sources. The installer, when given, must
# install the same cmake/ folder, which configures from there too.
# Usage: firmware-build-under-wine.sh NATIVE_BIN_DIR ZIP [INSTALLER]
set -euo pipefail

native_bin=$(realpath "$1")
zip=$(realpath "$2")
installer=${3:+$(realpath "$3")}
tests=$(dirname "${BASH_SOURCE[0]}")
source "$tests/wine-prefix.sh"
source "$tests/../firmware-example.sh"
work=$(mktemp -d)
# A prefix of its own, which the installer may change as it likes.
export WINEPREFIX="$work/prefix" SOURCE_DATE_EPOCH=1700000000
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "firmware-build-under-wine: $*" >&2
  exit 1
}
cmake_files=(SparrowflasherMakerConfig.cmake SparrowflasherMakerConfigVersion.cmake
  SparrowflasherAddPackage.cmake)

# Configures the example against the release in FOLDER, into BUILD; checks
# that the package's command runs that folder's sfmaker.exe on its AP2.EXE,
# and prints the command.
configure_against() {
  local folder=$1 build=$2 command
  configure_example "$work/src" "$build" "-DCMAKE_PREFIX_PATH=$folder" ||
    fail "the example does not configure against $folder"
  command=$(ninja -C "$build" -t commands updater | tail -1)
  [[ $command == *" $folder/sfmaker.exe make "* || $command == *" \"$folder/sfmaker.exe\" make "* ]] ||
    fail "the package is not made by $folder/sfmaker.exe: $command"
  [[ $command == *"--template $folder/AP2.EXE "* || $command == *"--template \"$folder/AP2.EXE\" "* ]] ||
    fail "the package is not made from $folder/AP2.EXE: $command"
  echo "$command"
}

cp -r "$example_source" "$work/src"
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
folder=$(echo "$work"/unpacked/SparrowflasherMaker-*-win64)
for file in "${cmake_files[@]}"; do
  [[ -f $folder/cmake/$file ]] || fail "the ZIP lacks cmake/$file"
done

command=$(configure_against "$folder" "$work/build")
cmake --build "$work/build" --target firmware >"$work/firmware.log" 2>&1 ||
  fail "the firmware does not build: $(cat "$work/firmware.log")"
prepare_wine_prefix
# Wine takes a path from / as one on its drive Z:, which is the file system's root.
bash -c "${command/"$folder/sfmaker.exe"/wine $folder/sfmaker.exe}" </dev/null >"$work/make.log" 2>&1 ||
  fail "sfmaker.exe did not make the package: $(cat "$work/make.log")"
check_example_package "$native_bin/sfmaker" "$work/build/Updater.exe" "$work/build/firmware.elf" \
  "$folder/AP2.EXE" "$work/check" || fail "the package sfmaker.exe made is not the example's"

if [[ -n $installer ]]; then
  wine "$installer" /S </dev/null >/dev/null 2>&1 || fail "the installer failed"
  installed="$WINEPREFIX/drive_c/Program Files/Sparrowflasher Maker"
  for file in "${cmake_files[@]}"; do
    [[ -f $installed/cmake/$file ]] || fail "the installer did not install cmake/$file"
  done
  configure_against "$installed" "$work/installed-build" >/dev/null
fi
echo "firmware-build-under-wine: the release's CMake files pass"
