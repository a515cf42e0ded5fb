# Bash completion for sfmaker: its commands, each command's options, and file
# or folder names where an option or argument takes one.

# Replies with what `compgen ARGUMENTS` gives for the word being completed.
_sfmaker_reply() {
    mapfile -t COMPREPLY < <(compgen "$@" -- "$cur")
}

# Completes a file name, or with -d a folder name; with bash-completion's
# own helper where it is loaded.
_sfmaker_paths() {
    if declare -F _filedir >/dev/null; then
        _filedir "$@"
        return
    fi
    compopt -o filenames 2>/dev/null
    if [[ ${1:-} == -d ]]; then
        _sfmaker_reply -d
    else
        _sfmaker_reply -f
    fi
}

_sfmaker() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command="" word options
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case $word in
            make | inspect | extract | diff | verify)
                command=$word
                break
                ;;
        esac
    done
    COMPREPLY=()
    # What a package is made from: make's options, which verify takes too.
    local sources="--raw --settings --template --title --text --note --internal --external
        --version --ap-pid --ap-vid --ap-usage --iap-pid --iap-vid --iap-usage --digest --cmd-key
        --no-verify --cmd-via-control-endpoint"
    case $command in
        make | verify)
            case $prev in
                -o | --output | --settings | --template | --internal | --external | --cmd-key)
                    _sfmaker_paths
                    return
                    ;;
                --title | --text | --note | --version | --ap-* | --iap-* | --digest | --time)
                    return
                    ;;
            esac
            if [[ $command == make ]]; then
                options="--help --output --force --strict --quiet $sources --time"
            else
                options="--help $sources --json"
            fi
            ;;
        inspect | diff)
            options="--help --json"
            ;;
        extract)
            if [[ $prev == --dir ]]; then
                _sfmaker_paths -d
                return
            fi
            options="--help --dir --force"
            ;;
        *)
            if [[ $cur == -* ]]; then
                _sfmaker_reply -W "--help --version"
            else
                _sfmaker_reply -W "make inspect extract diff verify"
            fi
            return
            ;;
    esac
    # make takes options only; the other commands take package files too.
    if [[ $cur == -* || $command == make ]]; then
        _sfmaker_reply -W "$options"
    else
        _sfmaker_paths
    fi
}

complete -F _sfmaker sfmaker
