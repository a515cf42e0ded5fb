# The timing helpers of the bench scripts, sourced by them. They need $work,
# the script's scratch folder.

# One run: prints "elapsed cpu peak_kib" for the command; the elapsed time
# from the shell's clock in microseconds, since small images take milliseconds.
timed() {
  rm -f "$work/out"
  sync
  local start=$EPOCHREALTIME
  /usr/bin/time -f '%U %S %M' -o "$work/time" "$@" >/dev/null 2>&1
  local end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" '{ printf "%.4f %.3f %d\n", e - s, $1 + $2, $3 }' "$work/time"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
