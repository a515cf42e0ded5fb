# The CMake package that firmware builds find (cmake/firmware-build/):
# find_package(SparrowflasherMaker) gives them the installed sfmaker as an
# imported program and the function sparrowflasher_add_package. On Linux it
# lies in lib/cmake/SparrowflasherMaker/, where find_package looks under a
# prefix; on Windows in cmake/ beside the programs. Its paths are relative to
# its own folder, so it works wherever the tree is unpacked.
include(CMakePackageConfigHelpers)
if(WIN32)
  set(SF_INSTALL_CMAKEDIR cmake)
else()
  set(SF_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/SparrowflasherMaker)
endif()

# Normalised: on Windows the programs' folder is ".", and the paths that a
# build is shown should not hold a "./".
cmake_path(SET SF_PACKAGE_SFMAKER NORMALIZE ${SF_INSTALL_BINDIR}/sfmaker${CMAKE_EXECUTABLE_SUFFIX})
cmake_path(SET SF_PACKAGE_TEMPLATE NORMALIZE ${SF_INSTALL_TEMPLATEDIR}/AP2.EXE)
set(config_folder ${CMAKE_BINARY_DIR}/firmware-build)
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/firmware-build/SparrowflasherMakerConfig.cmake.in
  ${config_folder}/SparrowflasherMakerConfig.cmake
  INSTALL_DESTINATION ${SF_INSTALL_CMAKEDIR}
  PATH_VARS SF_PACKAGE_SFMAKER SF_PACKAGE_TEMPLATE)
# Any 1.x from 1.5 on serves a build that asks for 1.5. The package holds a
# program for the machine that runs the build, whatever the firmware's
# target: the pointer size of the build that finds it does not matter.
write_basic_package_version_file(${config_folder}/SparrowflasherMakerConfigVersion.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${config_folder}/SparrowflasherMakerConfig.cmake
              ${config_folder}/SparrowflasherMakerConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/firmware-build/SparrowflasherAddPackage.cmake
        DESTINATION ${SF_INSTALL_CMAKEDIR})
