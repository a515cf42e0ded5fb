# Strict warnings for the project's own targets only; errors with SF_WERROR,
# which the presets turn on.
function(sf_strict_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
    if(SF_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor)
    if(SF_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
    # GCC 12 reports false -Wrestrict overlaps inside std::string at -O3.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
endfunction()
