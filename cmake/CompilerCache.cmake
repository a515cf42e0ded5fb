# Compiles through ccache where it is installed (scripts/setup installs it),
# so that a build in another clone, in another folder, takes what an earlier
# build compiled. Without ccache, or with a launcher of one's own
# (-DCMAKE_CXX_COMPILER_LAUNCHER=...), the build compiles as before.
#
# A hit in another folder needs the same command line: paths under the source
# folder are hashed relative to it (CCACHE_BASEDIR), and the debug information
# names the source folder "." (-fdebug-prefix-map), so that ccache need not
# hash the working folder and no object names another clone's folder. The rest
# of the command line is hashed as it stands, so builds with other flags
# (-Werror or not, a sanitizer, another compiler) never share an object.
if(NOT DEFINED CMAKE_CXX_COMPILER_LAUNCHER AND NOT MSVC)
  find_program(SF_CCACHE ccache)
  if(SF_CCACHE)
    set(CMAKE_CXX_COMPILER_LAUNCHER env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} ${SF_CCACHE})
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fdebug-prefix-map=${PROJECT_SOURCE_DIR}=.>)
  endif()
endif()
