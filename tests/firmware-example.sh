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
# objcopy makes of the ELF, and sfmaker verify finds it, byte for byte, the
# package that what the example's CMakeLists asks for makes.
# Usage: check_example_package SFMAKER PACKAGE ELF TEMPLATE FOLDER
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
  # The package is exactly what these sources make, key and all.
  "$sfmaker" verify "$package" "${sources[@]}" 2>&1 | tee "$folder/verify.txt"
  [[ ${PIPESTATUS[0]} == 0 ]] && grep -q "are byte-identical" "$folder/verify.txt" || {
    echo "sfmaker verify: the package is not what the example's sources make" >&2
    return 1
  }
}
