#!/usr/bin/env bash
# Checks sfmaker's bash completion against the program's own help (every
# command, every long option, file names where an option takes a file), and
# that its manual page, when one was made, renders and names every command.
# Usage: completion-and-manual.sh SFMAKER COMPLETION_SCRIPT [MANUAL_PAGE]
set -euo pipefail

sfmaker=$1 completion=$2 manual=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failed=0
fail() { echo "FAIL: $*" >&2 && failed=1; }

# What the completion offers, one per line and sorted, for the words given;
# the last word is the one being completed.
offered() {
  bash --norc --noprofile -c \
    'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _sfmaker; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$completion" "$@" | sort
}

# The long options that `sfmaker COMMAND --help` lists.
long_options() {
  "$sfmaker" "$1" --help | sed -n 's/^  \(-[^ ]*\).*/\1/p' | tr ',' '\n' | grep -- '^--' | sort
}

bash --norc --noprofile -c 'source "$1" && complete -p sfmaker' _ "$completion" >/dev/null ||
  fail "sourcing the script does not set up completion for sfmaker"
[[ $(offered sfmaker '') == $'extract\ninspect\nmake' ]] || fail "the commands: $(offered sfmaker '')"
[[ $(offered sfmaker --v) == --version ]] || fail "--version: $(offered sfmaker --v)"
for command in make inspect extract; do
  if ! difference=$(diff <(long_options "$command") <(offered sfmaker "$command" --)); then
    fail "the options of $command differ from its help (< help, > completion):"$'\n'"$difference"
  fi
done
mkdir folder
touch 'an image.hex'
[[ $(offered sfmaker make --title 'Fo' --internal an) == 'an image.hex' ]] ||
  fail "a file after --internal: $(offered sfmaker make --internal an)"
[[ $(offered sfmaker extract x.exe --dir '') == folder ]] ||
  fail "a folder after --dir: $(offered sfmaker extract x.exe --dir '')"
[[ -z $(offered sfmaker make --ap-vid '') ]] || fail "a value was offered for --ap-vid"

if [[ -n $manual ]]; then
  if ! page=$(groff -man -Tutf8 -ww -P -b -P -u "$manual" 2>groff.log); then
    fail "groff does not render the manual page: $(cat groff.log)"
  fi
  [[ ! -s groff.log ]] || fail "groff warns about the manual page: $(cat groff.log)"
  for expected in "sfmaker make" "sfmaker inspect" "sfmaker extract" "SOURCE_DATE_EPOCH" \
    "Exit status" "sfmaker 1."; do
    [[ $page == *"$expected"* ]] || fail "the manual page does not name '$expected'"
  done
fi

exit "$failed"
