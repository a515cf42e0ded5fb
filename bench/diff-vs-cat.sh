#!/usr/bin/env bash
# Times `sfmaker diff A B` against reading both packages (`cat A B > /dev/null`),
# in alternating pairs, for two packages of the same content made in different
# seconds (another key: every image byte is stored differently) and for two
# whose internal images differ in one byte in the middle; prints the median
# of each with the ratio of every pair and the peak memory. Every file is read
# from the page cache. Usage: bench/diff-vs-cat.sh [PAIRS] [SIZE...] (sizes as
# head -c takes them)
#   bench/diff-vs-cat.sh            seven pairs at 256 MiB
#   bench/diff-vs-cat.sh 5 1G       five pairs at 1 GiB
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/timing.sh
pairs=${1:-7}
shift || true
sizes=("$@")
((${#sizes[@]})) || sizes=(256M)
bin=$PWD/build/release/bin
cmake --preset release >/dev/null &&
  cmake --build --preset release --target sfmaker template_updater >/dev/null

work=$(mktemp -d "${TMPDIR:-/var/tmp}/sfbench.XXXXXX")
trap 'rm -rf "$work"' EXIT

for size in "${sizes[@]}"; do
  head -c "$size" /dev/urandom >"$work/image.bin"
  cp "$work/image.bin" "$work/changed.bin"
  middle=$(($(stat -c %s "$work/image.bin") / 2))
  printf '\xA5' | dd of="$work/changed.bin" bs=1 seek="$middle" conv=notrunc status=none
  "$bin/sfmaker" make -q -o "$work/a.exe" --internal "$work/image.bin" --time 1
  "$bin/sfmaker" make -q -o "$work/rekeyed.exe" --internal "$work/image.bin" --time 2
  "$bin/sfmaker" make -q -o "$work/changed.exe" --internal "$work/changed.bin" --time 1
  rm "$work/image.bin" "$work/changed.bin"
  cat "$work"/*.exe >/dev/null
  for other in rekeyed changed; do
    : >"$work/diff" >"$work/cat" >"$work/ratio"
    for ((i = 1; i <= pairs; i++)); do
      # diff ends with 1 when the content differs: only 2 (trouble) stops the bench.
      diff=$(timed sh -c "'$bin/sfmaker' diff '$work/a.exe' '$work/$other.exe'; [ \$? -le 1 ]")
      cat=$(timed sh -c "cat '$work/a.exe' '$work/$other.exe' > /dev/null")
      echo "$diff" >>"$work/diff"
      echo "$cat" >>"$work/cat"
      awk -v d="${diff%% *}" -v c="${cat%% *}" 'BEGIN { printf "%.2f\n", d / c }' >>"$work/ratio"
    done
    [[ $other == rekeyed ]] && what="same content, another key" || what="one byte of the image changed"
    echo "== $size images, $what; $pairs alternating pairs; load average $(cut -d' ' -f1-3 /proc/loadavg)"
    ratio_label="diff / cat" report "sfmaker diff A B=diff" "cat A B > /dev/null=cat"
  done
done
