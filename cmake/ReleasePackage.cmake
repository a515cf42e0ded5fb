# What the two releases (cmake/WindowsRelease.cmake, cmake/DebianPackage.cmake)
# share: the vendor, stripped programs, and CPack's configuration written as
# <config>.cmake in the build folder, for the package preset to name. Under a
# name of its own: a CPackConfig.cmake would reserve the target name
# "package", which the package library has. Called last, once the release has
# set its own CPACK_ variables.
macro(sf_release_package config)
  set(CPACK_PACKAGE_VENDOR "Tavlen")
  set(CPACK_STRIP_FILES TRUE)
  set(CPACK_OUTPUT_CONFIG_FILE "${CMAKE_BINARY_DIR}/${config}.cmake")
  set(CPACK_SOURCE_OUTPUT_CONFIG_FILE "${CMAKE_BINARY_DIR}/${config}Source.cmake")
  include(CPack)
endmacro()
