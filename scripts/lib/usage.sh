# shellcheck shell=bash
# Sourced by the scripts in scripts/, before they change folder, to read
# their command line. A script's usage is the comment at its head, after the
# #! line. --help or -h prints it; an argument the script does not take is a
# usage error: the reason and the usage on stderr, exit status 2, nothing run.

usage=$(sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0")

usage_error() {
  printf '%s: %s\n%s\n' "$0" "$1" "$usage" >&2
  exit 2
}

# Takes at most one argument and sets `argument` to it, or to "" without one.
one_argument() {
  if [[ "${1:-}" == --help || "${1:-}" == -h ]]; then
    printf '%s\n' "$usage"
    exit 0
  fi
  (($# <= 1)) || usage_error "too many arguments: $*"
  argument=${1:-}
}

# Takes at most one argument, which must be one of OPTIONS (names separated
# by spaces; "" for a script that takes none), and sets `option` to it.
one_option() {
  local options=$1
  shift
  one_argument "$@"
  if [[ -n "$argument" && " $options " != *" $argument "* ]]; then
    usage_error "unknown option: $argument"
  fi
  option=$argument
}
