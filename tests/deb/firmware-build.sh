#!/usr/bin/env bash
# The CMake package of an installed tree in a real firmware build:
#   tests/deb/firmware-build.sh ROOT
# where ROOT/usr holds the tree (the .deb unpacked). The example
# examples/cortex-m, cross-compiled with Debian's arm-none-eabi gcc, must find
# sfmaker with find_package, make its package, find nothing to do on a second
# build, make the package again when the firmware, the template or sfmaker
# changes, and give the same bytes in two clean builds with SOURCE_DATE_EPOCH.
# The package must hold what objcopy makes of the ELF and what the example
# asks for. A build whose image sfmaker refuses fails with sfmaker's message;
# find_package takes 1.x from 1.5 on, nothing else. The exit status is the
# result.
set -euo pipefail
root=$(realpath "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../firmware-example.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sfmaker=$root/usr/bin/sfmaker
template=$root/usr/lib/sparrowflasher-maker/AP2.EXE
export SOURCE_DATE_EPOCH=1700000000

fail() {
  echo "firmware-build: $*" >&2
  exit 1
}
# Builds the folder; prints what ninja printed.
build() {
  cmake --build "$1" >"$work/build.log" 2>&1 || fail "the build of $1 failed: $(cat "$work/build.log")"
  cat "$work/build.log"
}
remade() { grep -q "Making the updater package" <<<"$1"; }

cp -r "$example_source" "$work/src"
configure_example "$work/src" "$work/a" "-DCMAKE_PREFIX_PATH=$root/usr" || fail "the example does not configure"
build "$work/a" >/dev/null
package=$work/a/Updater.exe
[[ -f $package ]] || fail "the build made no package"
[[ $(build "$work/a") == *"ninja: no work to do."* ]] || fail "a second build did work"
for changed in "$work/src/main.c" "$template" "$sfmaker"; do
  touch "$changed"
  remade "$(build "$work/a")" || fail "the package was not made again after $changed changed"
done

configure_example "$work/src" "$work/b" "-DCMAKE_PREFIX_PATH=$root/usr" || fail "the example does not configure"
build "$work/b" >/dev/null
cmp "$package" "$work/b/Updater.exe" || fail "two clean builds made different packages"

check_example_package "$sfmaker" "$package" "$work/a/firmware.elf" "$template" "$work/check" ||
  fail "the package does not hold what the example asks for"

# sfmaker's refusal fails the build, with its reason, and writes nothing.
mkdir "$work/refused"
printf ':020010040001E9\n:00000001FF\n' >"$work/refused/bad.hex"
cat >"$work/refused/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.20)
project(refused NONE)
find_package(SparrowflasherMaker 1.5 REQUIRED)
sparrowflasher_add_package(updater INTERNAL bad.hex)
EOF
cmake -S "$work/refused" -B "$work/refused/build" -G Ninja "-DCMAKE_PREFIX_PATH=$root/usr" >/dev/null
if cmake --build "$work/refused/build" >"$work/refused.log" 2>&1; then
  fail "a build with an image sfmaker refuses passed"
fi
grep -q "bad.hex, line 1: a type 04 record's address field must be zero" "$work/refused.log" ||
  fail "the failed build does not say why: $(cat "$work/refused.log")"
[[ ! -e $work/refused/build/updater.exe ]] || fail "the failed build left a package"

# Which versions a build may ask for.
for case in 1.0:found 1.5:found 1.5.2:found 1.6:refused 2.0:refused; do
  version=${case%:*}
  mkdir -p "$work/version-$version"
  printf 'cmake_minimum_required(VERSION 3.20)\nproject(v NONE)\nfind_package(SparrowflasherMaker %s REQUIRED)\n' \
    "$version" >"$work/version-$version/CMakeLists.txt"
  found=found
  cmake -S "$work/version-$version" -B "$work/version-$version/build" \
    "-DCMAKE_PREFIX_PATH=$root/usr" >/dev/null 2>&1 || found=refused
  [[ $found == "${case#*:}" ]] || fail "find_package(SparrowflasherMaker $version) was $found"
done
echo "firmware-build: the example's package passes"
