#!/usr/bin/env bash
# Times `sfmaker make` against copying the template and the image with the
# same durability (`cat AP2.EXE image > out && sync out`) and against plain
# `cat`, which leaves its output for the kernel to write later, in alternating
# pairs, and prints the median of each with the ratio of every pair and the
# peak memory. Usage: bench/make-vs-cat.sh [PAIRS] [SIZE...] (sizes as head -c
# takes them: 64K, 1M, 256M, 1G)
#   bench/make-vs-cat.sh              eleven pairs at 64 KiB and 1 MiB, five at 256 MiB and 1 GiB
#   bench/make-vs-cat.sh 7 1G         seven pairs at 1 GiB
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/timing.sh
pairs=${1:-}
shift || true
sizes=("$@")
((${#sizes[@]})) || sizes=(64K 1M 256M 1G)
bin=$PWD/build/release/bin
cmake --preset release >/dev/null && cmake --build --preset release >/dev/null

work=$(mktemp -d "${TMPDIR:-/var/tmp}/sfbench.XXXXXX")
trap 'rm -rf "$work"' EXIT

for size in "${sizes[@]}"; do
  n=${pairs:-$([[ $size == *[KM] && $size != *[0-9][0-9][0-9]M ]] && echo 11 || echo 5)}
  head -c "$size" /dev/urandom >"$work/image.bin"
  cat "$work/image.bin" >/dev/null  # every side reads it from the page cache
  : >"$work/make" >"$work/catsync" >"$work/cat" >"$work/ratio"
  for ((i = 1; i <= n; i++)); do
    make=$(timed "$bin/sfmaker" make --force -o "$work/out" --internal "$work/image.bin" --time 1)
    catsync=$(timed sh -c "cat '$bin/AP2.EXE' '$work/image.bin' > '$work/out' && sync '$work/out'")
    cat=$(timed sh -c "cat '$bin/AP2.EXE' '$work/image.bin' > '$work/out'")
    echo "$make" >>"$work/make"
    echo "$catsync" >>"$work/catsync"
    echo "$cat" >>"$work/cat"
    awk -v m="${make%% *}" -v c="${catsync%% *}" 'BEGIN { printf "%.2f\n", m / c }' >>"$work/ratio"
  done
  echo "== $size image, $n alternating pairs; load average $(cut -d' ' -f1-3 /proc/loadavg)"
  ratio_label="sfmaker / (cat && sync)" report "sfmaker make=make" \
    "cat template image > out && sync out=catsync" "cat template image > out=cat"
done
