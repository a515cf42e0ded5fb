# What the two releases (cmake/WindowsRelease.cmake, cmake/DebianPackage.cmake)
# share: the vendor and stripped programs. CPack's configuration is the
# default CPackConfig.cmake of the build folder, so `cpack -G DEB` (or ZIP)
# there makes what the package preset makes. Called last, once the release
# has set its own CPACK_ variables.
macro(sf_release_package)
  set(CPACK_PACKAGE_VENDOR "Tavlen")
  set(CPACK_STRIP_FILES TRUE)
  include(CPack)
endmacro()
