#compdef sfmaker
# Zsh completion for sfmaker: its commands, each command's options, and file
# or folder names where an option or argument takes one.

_sfmaker() {
    local curcontext=$curcontext state line ret=1
    typeset -A opt_args
    # What a package is made from: make's options, which verify takes too.
    local -a sources=(
        '--raw[take every image file as bytes]'
        '--settings=[take every field from this settings file]:settings file:_files'
        '--template=[the template updater]:template:_files'
        '--internal=[internal flash image file]:image:_files'
        '--external=[external image file]:image:_files'
        '--cmd-key=[command-key file; turns the key on]:command key:_files'
        '--title=[program title]:title: '
        '--text=[program text]:text: '
        '--note=[program note]:note: '
        '--version=[program version stored in the package]:version: '
        '--ap-vid=[USB VID of the application]:hex digits: '
        '--ap-pid=[USB PID of the application]:hex digits: '
        "--ap-usage=[low byte of the application's HID usage page]:hex digits: "
        '--iap-vid=[USB VID of the IAP loader]:hex digits: '
        '--iap-pid=[USB PID of the IAP loader]:hex digits: '
        "--iap-usage=[low byte of the IAP loader's HID usage page]:hex digits: "
        '--digest=[internal flash digest; turns the digest on]:hex digits: '
        '--no-verify[turn Verify off]'
        '--cmd-via-control-endpoint[send commands through the control endpoint]'
    )
    local -a help=('(- *)'{-h,--help}'[print the help and exit]')
    _arguments -C $help '(- *)--version[print the version and exit]' \
        '1:command:((make\:"make a package"
                     inspect\:"show what a package holds"
                     extract\:"write a package'\''s images and command key to a folder"
                     diff\:"compare two packages"
                     verify\:"check a package against the sources that make it"))' \
        '*::argument:->argument' && ret=0
    [[ $state == argument ]] || return ret
    curcontext=${curcontext%:*:*}:sfmaker-$words[1]:
    case $words[1] in
        make)
            _arguments $help $sources \
                '(-o --output)'{-o,--output=}'[the package file to write]:package:_files' \
                '(-f --force)'{-f,--force}'[replace the output file when it exists]' \
                '(-q --quiet)'{-q,--quiet}'[print errors only]' \
                '--strict[refuse a package that gives a warning]' \
                '--time=[seconds since 1970 that seed the package key]:seconds: ' && ret=0
            ;;
        inspect)
            _arguments $help '--json[print JSON]' '1:package:_files' && ret=0
            ;;
        extract)
            _arguments $help '--dir=[the folder to write into]:folder:_directories' \
                '(-f --force)'{-f,--force}'[replace the results of an earlier extract]' \
                '1:package:_files' && ret=0
            ;;
        diff)
            _arguments $help '--json[print JSON]' '1:package:_files' '2:package:_files' && ret=0
            ;;
        verify)
            _arguments $help $sources '--json[print JSON]' '1:package:_files' && ret=0
            ;;
    esac
    return ret
}

_sfmaker "$@"
