# Fish completion for sfmaker: its commands, each command's options, and file
# or folder names where an option or argument takes one.

set -l commands make inspect extract diff verify
# Only what is offered below: make takes options alone.
complete -c sfmaker -f

set -l none "not __fish_seen_subcommand_from $commands"
complete -c sfmaker -n $none -a make -d 'Make a package'
complete -c sfmaker -n $none -a inspect -d 'Show what a package holds'
complete -c sfmaker -n $none -a extract -d "Write a package's images and command key to a folder"
complete -c sfmaker -n $none -a diff -d 'Compare two packages'
complete -c sfmaker -n $none -a verify -d 'Check a package against the sources that make it'
complete -c sfmaker -n $none -l version -d 'Print the version and exit'
complete -c sfmaker -s h -l help -d 'Print the help and exit'

# The package files that inspect, extract, diff and verify read.
complete -c sfmaker -n "__fish_seen_subcommand_from inspect extract diff verify" -F
complete -c sfmaker -n "__fish_seen_subcommand_from inspect diff verify" -l json -d 'Print JSON'

set -l make "__fish_seen_subcommand_from make"
complete -c sfmaker -n $make -s o -l output -r -F -d 'The package file to write'
complete -c sfmaker -n $make -s f -l force -d 'Replace the output file when it exists'
complete -c sfmaker -n $make -s q -l quiet -d 'Print errors only'
complete -c sfmaker -n $make -l strict -d 'Refuse a package that gives a warning'
complete -c sfmaker -n $make -l time -x -d 'Seconds since 1970 that seed the package key'

# What a package is made from: make's options, which verify takes too.
set -l sources "__fish_seen_subcommand_from make verify"
complete -c sfmaker -n $sources -l raw -d 'Take every image file as bytes'
complete -c sfmaker -n $sources -l settings -r -F -d 'Take every field from this settings file'
complete -c sfmaker -n $sources -l template -r -F -d 'The template updater'
complete -c sfmaker -n $sources -l internal -r -F -d 'Internal flash image file'
complete -c sfmaker -n $sources -l external -r -F -d 'External image file'
complete -c sfmaker -n $sources -l cmd-key -r -F -d 'Command-key file; turns the key on'
complete -c sfmaker -n $sources -l title -x -d 'Program title'
complete -c sfmaker -n $sources -l text -x -d 'Program text'
complete -c sfmaker -n $sources -l note -x -d 'Program note'
complete -c sfmaker -n $sources -l version -x -d 'Program version stored in the package'
complete -c sfmaker -n $sources -l ap-vid -x -d 'USB VID of the application'
complete -c sfmaker -n $sources -l ap-pid -x -d 'USB PID of the application'
complete -c sfmaker -n $sources -l ap-usage -x -d "Low byte of the application's HID usage page"
complete -c sfmaker -n $sources -l iap-vid -x -d 'USB VID of the IAP loader'
complete -c sfmaker -n $sources -l iap-pid -x -d 'USB PID of the IAP loader'
complete -c sfmaker -n $sources -l iap-usage -x -d "Low byte of the IAP loader's HID usage page"
complete -c sfmaker -n $sources -l digest -x -d 'Internal flash digest; turns the digest on'
complete -c sfmaker -n $sources -l no-verify -d 'Turn Verify off'
complete -c sfmaker -n $sources -l cmd-via-control-endpoint -d 'Send commands through the control endpoint'

set -l extract "__fish_seen_subcommand_from extract"
complete -c sfmaker -n $extract -l dir -x -a '(__fish_complete_directories)' -d 'The folder to write into'
complete -c sfmaker -n $extract -s f -l force -d 'Replace the results of an earlier extract'
