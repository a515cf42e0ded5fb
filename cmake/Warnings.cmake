# Strict warnings, treated as errors, for the project's own targets only.
function(sf_strict_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                                             -Wnon-virtual-dtor -Werror)
    # GCC 12 reports false -Wrestrict overlaps inside std::string at -O3.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
endfunction()
