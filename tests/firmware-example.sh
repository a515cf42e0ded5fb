# shellcheck shell=bash
# Sourced by the checks that build examples/cortex-m against an installed
# sfmaker (tests/deb/firmware-build.sh, tests/windows/firmware-build-under-wine.sh):
# how the example is configured, and what its package must hold.

example_source=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../examples/cortex-m")

# Configures the example in SOURCE into BUILD with Ninja and the cross
# compiler, with the CMake arguments given after them; quiet unless it fails.
configure_example() {
  local source=$1 build=$2
  shift 2
  if ! cmake -S "$source" -B "$build" -G Ninja --toolchain "$source/arm-none-eabi.cmake" "$@" \
    >"$build.configure.log" 2>&1; then
    cat "$build.configure.log" >&2
    return 1
  fi
}

# Checks the example's package with sfmaker: its internal image is what
# objcopy makes of the ELF, and it holds what the example's CMakeLists asks
# for. Usage: check_example_package SFMAKER PACKAGE ELF TEMPLATE FOLDER
# (FOLDER: a new folder for the check's files).
check_example_package() {
  local sfmaker=$1 package=$2 elf=$3 template=$4 folder=$5
  # What examples/cortex-m/CMakeLists.txt asks for, as sfmaker make takes it.
  local sources=(--internal "$elf" --template "$template"
    --title "Tavlen Blinky V2.1.0" --text "Blinky for Tavlen. Version V2.1.0"
    --note "Keep the board powered until the LED blinks again." --version V2.1.0
    --ap-vid 1A2B --ap-pid 3C4D --ap-usage 01 --iap-vid 1A2B --iap-pid 3C4E --iap-usage 02
    --digest BEEF)
  mkdir -p "$folder"
  "$sfmaker" extract "$package" --dir "$folder/extracted" >/dev/null || return 1
  arm-none-eabi-objcopy -O binary --gap-fill 0xff "$elf" "$folder/objcopy.bin"
  cmp "$folder/extracted/internal.bin" "$folder/objcopy.bin" || {
    echo "the internal image is not what objcopy makes of $elf" >&2
    return 1
  }
  "$sfmaker" inspect --json "$package" >"$folder/report.json" || return 1
  python3 - "$folder/report.json" "${sources[@]:4}" <<'PYTHON' || return 1
import json, re, sys
report = json.load(open(sys.argv[1]))
options = sys.argv[2:]
for option, value in zip(options[0::2], options[1::2]):
    field = re.sub(r"-(\w)", lambda m: m.group(1).upper(), option[2:])
    if field == "digest":
        field, value = "digestValue", int(value, 16)
    if report[field] != value:
        sys.exit(f"the package's {field} is {report[field]!r}, the example asks for {value!r}")
PYTHON
  # >>> sfmaker verify goes here, as this one line, once sfmaker has the command:
  #   "$sfmaker" verify "$package" "${sources[@]}" >/dev/null || return 1
  # Until then: the same sources given to sfmaker make by hand, in the same
  # second, give the same bytes.
  "$sfmaker" make --quiet --output "$folder/by-hand.exe" "${sources[@]}" || return 1
  cmp "$package" "$folder/by-hand.exe" || {
    echo "sfmaker make with the example's sources makes another package" >&2
    return 1
  }
}
