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

# Prints one row of medians for each timed command: "report LABEL=NAME ...",
# NAME being the file in $work that timed()'s lines were gathered in, and then
# the ratio of every pair (in $work/ratio) and their median, as RATIO_LABEL says.
report() {
  printf '%-36s %10s %10s %10s\n' command "median s" "median cpu" "peak MiB"
  local pair
  for pair in "$@"; do
    local label=${pair%=*} name=${pair##*=}
    printf '%-36s %10s %10s %10s\n' "$label" \
      "$(cut -d' ' -f1 "$work/$name" | median)" "$(cut -d' ' -f2 "$work/$name" | median)" \
      "$(cut -d' ' -f3 "$work/$name" | sort -g | tail -1 | awk '{ printf "%.1f", $1 / 1024 }')"
  done
  echo "ratio $ratio_label per pair: $(tr '\n' ' ' <"$work/ratio")"
  echo "median ratio: $(median <"$work/ratio")"
  echo
}
