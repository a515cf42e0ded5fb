# sparrowflasher_add_package: the firmware's updater package as a build step.
#
#   sparrowflasher_add_package(<name> INTERNAL <target-or-file>
#     [EXTERNAL <target-or-file>] [SETTINGS <file>] [OUTPUT <file>] [TEMPLATE <file>]
#     [TITLE <text>] [TEXT <text>] [NOTE <text>] [VERSION <text>]
#     [AP_VID <hex>] [AP_PID <hex>] [AP_USAGE <hex>]
#     [IAP_VID <hex>] [IAP_PID <hex>] [IAP_USAGE <hex>]
#     [DIGEST <hex>] [CMD_KEY <file>]
#     [NO_VERIFY] [CMD_VIA_CONTROL_ENDPOINT] [RAW] [STRICT])
#
# Adds the target <name>, part of ALL, that makes the package with
# `sfmaker make`. Each keyword is the option of that name: INTERNAL is
# --internal, AP_VID --ap-vid, CMD_VIA_CONTROL_ENDPOINT
# --cmd-via-control-endpoint, and so on (`sfmaker make --help` tells them all).
#
#   INTERNAL, EXTERNAL  the internal and external image: an executable target
#                       (its file, the ELF the firmware's link makes) or a file.
#                       ELF, Intel HEX and S-record files become the flat image
#                       the device takes, unless RAW is given.
#   SETTINGS            a settings file of the dialog's form; the keywords given
#                       beside it override it.
#   OUTPUT              the package; default <name>.exe in the current binary
#                       folder. A relative name is taken from that folder.
#   TEMPLATE            the template updater; default the one installed with
#                       sfmaker (SparrowflasherMaker_TEMPLATE). A build never
#                       takes the one in a user's settings folder, so every
#                       machine makes the same package.
#   TITLE ... DIGEST    the texts, identifiers and digest; DIGEST and CMD_KEY
#                       also turn the digest and the command key on.
#   STRICT              fail the build on a package that gives a warning (the
#                       dialog's placeholder note, an empty application VID or
#                       PID): for release builds.
#
# Relative file names are taken from the current source folder; a file that
# the build makes is named by its full path (or, for an ELF, by its target).
#
# The package is made again when an image, the settings file, the command key,
# the template or sfmaker itself changes, and only then. Images and a key that
# only the settings file names are used but not watched: name them here to have
# the package follow them. With SOURCE_DATE_EPOCH in the build's environment
# the package key is seeded from it, so two clean builds give the same bytes.
# When sfmaker refuses (a broken image, a bad value, a warning under STRICT)
# the build fails with its message and no package is written.
function(sparrowflasher_add_package name)
  set(flags NO_VERIFY CMD_VIA_CONTROL_ENDPOINT RAW STRICT)
  set(files INTERNAL EXTERNAL SETTINGS TEMPLATE CMD_KEY)
  set(texts TITLE TEXT NOTE VERSION AP_VID AP_PID AP_USAGE IAP_VID IAP_PID IAP_USAGE DIGEST)
  cmake_parse_arguments(PARSE_ARGV 1 arg "${flags}" "OUTPUT;${files};${texts}" "")
  set(call "sparrowflasher_add_package(${name})")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "${call}: unknown arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_INTERNAL)
    message(FATAL_ERROR "${call} needs INTERNAL <target-or-file>: the internal flash image")
  endif()
  if(NOT DEFINED arg_TEMPLATE)
    set(arg_TEMPLATE "${SparrowflasherMaker_TEMPLATE}")
  endif()
  set(output "${name}.exe")
  if(DEFINED arg_OUTPUT)
    set(output "${arg_OUTPUT}")
  endif()
  cmake_path(ABSOLUTE_PATH output BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" NORMALIZE)

  set(options "")
  set(inputs SparrowflasherMaker::sfmaker)
  foreach(keyword IN LISTS files)
    if(NOT DEFINED arg_${keyword})
      continue()
    endif()
    set(input "${arg_${keyword}}")
    if(TARGET "${input}")
      get_target_property(type "${input}" TYPE)
      if(NOT type STREQUAL "EXECUTABLE")
        message(FATAL_ERROR "${call}: ${keyword} ${input} is a ${type} target; give an "
                            "executable target or a file")
      endif()
      list(APPEND inputs "${input}")
      set(input "$<TARGET_FILE:${input}>")
    else()
      cmake_path(ABSOLUTE_PATH input BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
      list(APPEND inputs "${input}")
    endif()
    _sparrowflasher_option(option ${keyword})
    list(APPEND options "${option}" "${input}")
  endforeach()
  # A text goes as one argument, --title=TEXT, so that one beginning with '-'
  # is taken as the text. An empty one (TITLE "") goes as an empty argument
  # after the option, made by a generator expression: a list drops empty
  # elements, and sfmaker would read --title= as asking for the next argument.
  foreach(keyword IN LISTS texts)
    _sparrowflasher_option(option ${keyword})
    if(NOT "${arg_${keyword}}" STREQUAL "")
      list(APPEND options "${option}=${arg_${keyword}}")
    elseif(DEFINED arg_${keyword} OR keyword IN_LIST arg_KEYWORDS_MISSING_VALUES)
      list(APPEND options "${option}" "$<1:>")
    endif()
  endforeach()
  foreach(keyword IN LISTS flags)
    if(arg_${keyword})
      _sparrowflasher_option(option ${keyword})
      list(APPEND options "${option}")
    endif()
  endforeach()

  add_custom_command(
    OUTPUT "${output}"
    COMMAND SparrowflasherMaker::sfmaker make --output "${output}" --force ${options}
    DEPENDS ${inputs}
    COMMENT "Making the updater package ${output}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS "${output}")
endfunction()

# The sfmaker make option of a keyword: AP_VID gives --ap-vid.
function(_sparrowflasher_option out keyword)
  string(TOLOWER "--${keyword}" option)
  string(REPLACE "_" "-" option "${option}")
  set(${out} "${option}" PARENT_SCOPE)
endfunction()
