#!/usr/bin/env bash
# Checks sfmaker's completions for bash, zsh and fish against the program's
# own help (every command, every long option, file names where an option
# takes a file), and that its manual page, when one was made, renders and
# names every command.
# Usage: completion-and-manual.sh SFMAKER BASH_SCRIPT ZSH_SCRIPT FISH_SCRIPT [MANUAL_PAGE]
set -euo pipefail

sfmaker=$(realpath "$1") bash_completion=$(realpath "$2") zsh_completion=$(realpath "$3")
fish_completion=$(realpath "$4") manual=${5:+$(realpath "$5")}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2 && failed=1; }

# zsh finds a completion by its file name (_sfmaker) in its function path.
# It completes in a terminal only: a zsh on a pseudo-terminal (zpty) has Tab
# pressed after the line, and what its completion adds is printed as well.
# Its index of completion functions is written once, for every line checked.
mkdir "$work/zsh-functions"
cp "$zsh_completion" "$work/zsh-functions/_sfmaker"
cat >"$work/offered.zsh" <<'EOF'
zmodload zsh/zpty
zpty shell zsh -f -i
zpty -w shell "fpath=($1 \$fpath); autoload -U compinit; compinit -u -d $1.dump"
# Arrays that completion functions fill for themselves (-O, -A, -D) are not
# offers; an offer is printed on a line of its own.
zpty -w shell 'compadd() { if (( ! ${@[(I)-[OAD]*]} )); then local -a hits
  builtin compadd -O hits "$@"; (( $#hits )) && print -l -- "" "HIT:"${^hits}; fi
  builtin compadd "$@"; }'
# The line is typed once the line editor shows its prompt; the quotes keep the
# typed words from matching what the shell prints.
zpty -w shell "PS1='RE''ADY> '"
zpty -r shell out '*READY> '
zpty -w -n shell "$2"$'\t'
zpty -w shell $'\C-e\C-u echo DO""NE'
zpty -r shell out '*DONE*'
print -r -- "$out" | tr -d '\r' | sed -n 's/^HIT://p'
zpty -d shell
EOF

# What the shell's completion offers for the line, whose last word (empty
# after a blank) is the one being completed: one per line, sorted, folders
# without their trailing slash.
offered() {
  case $1 in
    bash)
      bash --norc --noprofile -c 'source "$1"; read -ra COMP_WORDS <<<"$2"
        [[ $2 == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _sfmaker; printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$bash_completion" "$2"
      ;;
    zsh) timeout 20 zsh -f "$work/offered.zsh" "$work/zsh-functions" "$2" || echo "(zsh failed: $?)" ;;
    fish) fish --no-config -c 'source $argv[1]; complete -C $argv[2]' "$fish_completion" "$2" | cut -f1 ;;
  esac | sed 's:/$::; /^$/d' | sort -u
}

# The long options that `sfmaker COMMAND --help` lists.
long_options() {
  "$sfmaker" "$1" --help | sed -n 's/^  \(-[^ ]*\).*/\1/p' | tr ',' '\n' | grep -- '^--' | sort
}

bash --norc --noprofile -c 'source "$1" && complete -p sfmaker' _ "$bash_completion" >/dev/null ||
  fail "sourcing the bash script does not set up completion for sfmaker"
# The files that the completions are to offer, alone in the working folder.
mkdir -p "$work/files/folder"
cd "$work/files"
touch 'an image.hex'
help=$("$sfmaker" --help)
for shell in bash zsh fish; do
  commands=$'diff\nextract\ninspect\nmake\nverify'
  [[ $(offered $shell 'sfmaker ') == "$commands" ]] ||
    fail "$shell: the commands: $(offered $shell 'sfmaker ')"
  [[ $(offered $shell 'sfmaker ma') == make ]] || fail "$shell: 'ma': $(offered $shell 'sfmaker ma')"
  [[ $(offered $shell 'sfmaker --v') == --version ]] || fail "$shell: --version: $(offered $shell 'sfmaker --v')"
  [[ $(offered $shell 'sfmaker make --ou') == --output ]] ||
    fail "$shell: --output: $(offered $shell 'sfmaker make --ou')"
  for command in $commands; do
    [[ $help == *$'\n'"sfmaker $command "* ]] || fail "the help does not show $command"
    if ! difference=$(diff <(long_options "$command") <(offered $shell "sfmaker $command --")); then
      fail "$shell: the options of $command differ from its help (< help, > completion):"$'\n'"$difference"
    fi
  done
  [[ $(offered $shell 'sfmaker make --title Fo --internal an') == 'an image.hex' ]] ||
    fail "$shell: a file after --internal: $(offered $shell 'sfmaker make --title Fo --internal an')"
  [[ $(offered $shell 'sfmaker extract x.exe --dir ') == folder ]] ||
    fail "$shell: a folder after --dir: $(offered $shell 'sfmaker extract x.exe --dir ')"
  [[ -z $(offered $shell 'sfmaker make --ap-vid ') ]] || fail "$shell: a value was offered for --ap-vid"
done

if [[ -n $manual ]]; then
  if ! page=$(groff -man -Tutf8 -ww -P -b -P -u "$manual" 2>"$work/groff.log"); then
    fail "groff does not render the manual page: $(cat "$work/groff.log")"
  fi
  [[ ! -s $work/groff.log ]] || fail "groff warns about the manual page: $(cat "$work/groff.log")"
  for expected in "sfmaker make" "sfmaker inspect" "sfmaker extract" "sfmaker diff" \
    "sfmaker verify" "SOURCE_DATE_EPOCH" \
    "Exit status" "sfmaker 1."; do
    [[ $page == *"$expected"* ]] || fail "the manual page does not name '$expected'"
  done
fi

exit "$failed"
