#!/usr/bin/env bash
# Times the conversion of a large Intel HEX file into its flat image against
# `objcopy -I ihex -O binary --gap-fill 0xff` on the same file, with the peak
# memory of each, and checks that both give the same bytes.
#   bench/hex-vs-objcopy.sh [HEX_SIZE_MIB]    (default 64)
set -euo pipefail
cd "$(dirname "$0")/.."
size_mib=${1:-64}
bin=build/release/bin
cmake --preset release >/dev/null && cmake --build --preset release --target flatten_image >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# objcopy writes 16 data bytes a line, 45 characters with CR LF: this
# much data makes a HEX file of about the size asked for.
head -c "$((size_mib * 1048576 * 16 / 45))" /dev/urandom >"$work/data.bin"
objcopy -I binary -O ihex --change-addresses 0x08000000 "$work/data.bin" "$work/image.hex"
echo "image.hex: $(stat -c %s "$work/image.hex") bytes, $(stat -c %s "$work/data.bin") bytes of data"
sync

measure() {  # label, command...
  local label=$1; shift
  /usr/bin/time -f "$label: %e s elapsed, %M KiB peak memory" "$@"
}
measure "objcopy -I ihex -O binary --gap-fill 0xff" \
  objcopy -I ihex -O binary --gap-fill 0xff "$work/image.hex" "$work/objcopy.bin"
measure "flatten_image" "$bin/flatten_image" "$work/image.hex" "$work/flat.bin"
cmp "$work/objcopy.bin" "$work/flat.bin" && echo "same bytes"
