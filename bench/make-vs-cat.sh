#!/usr/bin/env bash
# Times `sfmaker make` on a large image against `cat template image > out`,
# with the peak memory of each. Usage: bench/make-vs-cat.sh [SIZE_MIB]
set -euo pipefail
cd "$(dirname "$0")/.."
size_mib=${1:-1024}
bin=build/release/bin
cmake --preset release >/dev/null && cmake --build --preset release >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c "$((size_mib << 20))" /dev/urandom >"$work/image.bin"
sync

measure() {  # label, command...
  local label=$1; shift
  /usr/bin/time -f "$label: %e s elapsed, %M KiB peak memory" "$@"
}
measure "cat template image" sh -c "cat '$bin/AP2.EXE' '$work/image.bin' > '$work/cat.out'"
rm -f "$work/cat.out"; sync
# sfmaker flushes the package to disk before it puts it in place; so does this one.
measure "cat template image + sync" sh -c "cat '$bin/AP2.EXE' '$work/image.bin' > '$work/cat.out' && sync '$work/cat.out'"
rm -f "$work/cat.out"; sync
measure "sfmaker make" "$bin/sfmaker" make --force --output "$work/pkg.exe" --internal "$work/image.bin" --time 1 >/dev/null
