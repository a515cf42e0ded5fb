#!/usr/bin/env bash
# Times `sfmaker make` on large images against copying the image with the same
# durability (`dd bs=1M conv=fsync`) and against plain `cat`, in alternating
# pairs, and prints the median of each with the ratio of every pair and the
# peak memory. The same dd also writes the image where a package holds it,
# after the template (`seek=`): the offsets at which the kernel's page cache
# works can change its speed (see README.md). Usage: bench/make-vs-cat.sh [PAIRS] [SIZE_MIB...]
#   bench/make-vs-cat.sh              five pairs at 256 MiB and at 1 GiB
#   bench/make-vs-cat.sh 7 1024       seven pairs at 1 GiB
set -euo pipefail
cd "$(dirname "$0")/.."
pairs=${1:-5}
shift || true
sizes=("$@")
((${#sizes[@]})) || sizes=(256 1024)
bin=$PWD/build/release/bin
cmake --preset release >/dev/null && cmake --build --preset release >/dev/null

work=$(mktemp -d "${TMPDIR:-/var/tmp}/sfbench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# One run: prints "elapsed cpu peak_kib" for the command.
timed() {
  rm -f "$work/out"
  sync
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>&1
  awk '{ printf "%.3f %.3f %d\n", $1, $2 + $3, $4 }' "$work/time"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for mib in "${sizes[@]}"; do
  head -c "$((mib << 20))" /dev/urandom >"$work/image.bin"
  cat "$work/image.bin" >/dev/null  # both sides read it from the page cache
  : >"$work/make" >"$work/dd" >"$work/ddat" >"$work/cat" >"$work/ratio" >"$work/ratioat"
  for ((i = 1; i <= pairs; i++)); do
    make=$(timed "$bin/sfmaker" make --force -o "$work/out" --internal "$work/image.bin" --time 1)
    dd=$(timed dd if="$work/image.bin" of="$work/out" bs=1M conv=fsync)
    ddat=$(timed dd if="$work/image.bin" of="$work/out" bs=1M conv=fsync oflag=seek_bytes \
      seek="$(stat -c %s "$bin/AP2.EXE")")
    cat=$(timed sh -c "cat '$work/image.bin' > '$work/out'")
    echo "$make" >>"$work/make"
    echo "$dd" >>"$work/dd"
    echo "$ddat" >>"$work/ddat"
    echo "$cat" >>"$work/cat"
    awk -v m="${make%% *}" -v d="${dd%% *}" 'BEGIN { printf "%.3f\n", m / d }' >>"$work/ratio"
    awk -v m="${make%% *}" -v d="${ddat%% *}" 'BEGIN { printf "%.3f\n", m / d }' >>"$work/ratioat"
  done
  echo "== $mib MiB image, $pairs alternating pairs; load average $(cut -d' ' -f1-3 /proc/loadavg)"
  printf '%-28s %10s %10s %12s\n' command "median s" "median cpu" "peak MiB"
  for name in make dd ddat cat; do
    label=$name
    [[ $name == make ]] && label="sfmaker make"
    [[ $name == dd ]] && label="dd bs=1M conv=fsync"
    [[ $name == ddat ]] && label="the same after the template"
    [[ $name == cat ]] && label="cat image > out"
    printf '%-28s %10s %10s %12s\n' "$label" \
      "$(cut -d' ' -f1 "$work/$name" | median)" "$(cut -d' ' -f2 "$work/$name" | median)" \
      "$(cut -d' ' -f3 "$work/$name" | sort -g | tail -1 | awk '{ printf "%.1f", $1 / 1024 }')"
  done
  echo "ratio sfmaker / dd per pair: $(tr '\n' ' ' <"$work/ratio")"
  echo "median ratio: $(median <"$work/ratio")"
  echo "ratio sfmaker / dd after the template per pair: $(tr '\n' ' ' <"$work/ratioat")"
  echo "median ratio: $(median <"$work/ratioat")"
  echo
done
