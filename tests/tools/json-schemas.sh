#!/usr/bin/env bash
# Holds every JSON document that sfmaker and the stand-in updater print
# against the schemas the release ships: inspect --json of packages of
# several shapes (and the same report from the updater itself), and diff
# --json and verify --json for packages that match and that differ.
# Usage: json-schemas.sh SFMAKER SCHEMA_FOLDER
set -euo pipefail

sfmaker=$(realpath "$1") schemas=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Validates the JSON in file $2 against schema $1; on failure shows both.
check() {
  if ! python3 - "$schemas/$1" "$2" <<'PYTHON'; then
import json, sys, jsonschema
schema = json.load(open(sys.argv[1]))
jsonschema.Draft202012Validator.check_schema(schema)
jsonschema.Draft202012Validator(schema).validate(json.load(open(sys.argv[2])))
PYTHON
    echo "FAIL: $2 does not fit $1; it holds:" >&2
    cat "$2" >&2
    exit 1
  fi
}

# Prints the output of a command that must end with status $1; fails loudly otherwise.
expect_status() {
  local wanted=$1 status=0
  shift
  "$@" >"$work/out.json" 2>"$work/err.txt" || status=$?
  if [[ $status != "$wanted" ]]; then
    echo "FAIL: '$*' ended with $status, not $wanted:" >&2
    cat "$work/out.json" "$work/err.txt" >&2
    exit 1
  fi
}

head -c 3000 /dev/urandom >"$work/internal.bin"
head -c 700 /dev/urandom >"$work/external.bin"
printf 'sixteen-byte-key' >"$work/cmdkey.bin"
make_package() { "$sfmaker" make --quiet --force --time "$1" --output "$work/$2" "${@:3}"; }
make_package 1700000000 plain.exe --internal "$work/internal.bin"
make_package 1700000000 copy.exe --internal "$work/internal.bin"
make_package 1700000000 full.exe --internal "$work/internal.bin" --external "$work/external.bin" \
  --cmd-key "$work/cmdkey.bin" --digest 1A2B --title "Ünïcode ✓" --ap-vid 0483 --ap-pid 5750 \
  --ap-usage A0 --iap-vid 0483 --iap-pid DF11 --iap-usage A1 --version 2.0.1 --no-verify \
  --cmd-via-control-endpoint \
  --note "A note of more than sixty-four characters, so that the fields after it cut its tail off."
make_package 1700000001 rekeyed.exe --internal "$work/internal.bin"
make_package 1700000000 retitled.exe --internal "$work/internal.bin" --title Other

for package in plain full; do
  expect_status 0 "$sfmaker" inspect --json "$work/$package.exe"
  check inspect.schema.json "$work/out.json"
  expect_status 0 "$work/$package.exe" --json
  check inspect.schema.json "$work/out.json"
done

for pair in "0 plain.exe copy.exe" "0 plain.exe rekeyed.exe" "1 plain.exe retitled.exe" \
  "1 plain.exe full.exe"; do
  read -r status a b <<<"$pair"
  expect_status "$status" "$sfmaker" diff --json "$work/$a" "$work/$b"
  check diff.schema.json "$work/out.json"
done

expect_status 0 "$sfmaker" verify --json "$work/plain.exe" --internal "$work/internal.bin"
check diff.schema.json "$work/out.json"
expect_status 1 "$sfmaker" verify --json "$work/plain.exe" --internal "$work/external.bin"
check diff.schema.json "$work/out.json"
echo "every JSON document fits its schema"
