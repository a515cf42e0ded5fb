# Where an installation puts each part. On Linux, as Linux programs are
# installed: the programs in bin/, the template updater (a program that the
# packages are made from, not one to start by hand) in
# lib/sparrowflasher-maker/, default.ini in share/sparrowflasher-maker/. On
# Windows everything lies side by side in one folder, as the tool expects.
include(GNUInstallDirs)
if(WIN32)
  set(SF_INSTALL_BINDIR .)
  set(SF_INSTALL_TEMPLATEDIR .)
  set(SF_INSTALL_DATADIR .)
else()
  set(SF_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(SF_INSTALL_TEMPLATEDIR ${CMAKE_INSTALL_LIBDIR}/sparrowflasher-maker)
  set(SF_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/sparrowflasher-maker)
endif()

# The name the desktop knows the tool by (desktop entry, icon, metainfo), and
# where users read about it.
set(SF_APP_ID com.tavlen.SparrowflasherMaker)
set(SF_HOMEPAGE "https://www.tavlen.com/sparrowflasher-maker" CACHE STRING
    "The tool's web page; the desktop metainfo shows its screenshots/dialog.png")

# The programs find the other two folders relative to their own, so an
# installed tree works wherever it is unpacked.
function(sf_folder_from_programs out folder)
  set(programs ${SF_INSTALL_BINDIR})
  cmake_path(ABSOLUTE_PATH programs BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE)
  cmake_path(ABSOLUTE_PATH folder BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE)
  file(RELATIVE_PATH relative "${programs}" "${folder}")
  if(relative STREQUAL "")
    set(relative .)
  endif()
  set(${out} "${relative}" PARENT_SCOPE)
endfunction()
sf_folder_from_programs(SF_TEMPLATE_FOLDER_FROM_PROGRAMS ${SF_INSTALL_TEMPLATEDIR})
sf_folder_from_programs(SF_DATA_FOLDER_FROM_PROGRAMS ${SF_INSTALL_DATADIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/../platform/InstallLayout.h.in
               ${CMAKE_BINARY_DIR}/generated/platform/InstallLayout.h @ONLY)

# A file compressed as Linux installs manual pages and changelogs (gzip -9n:
# without name and time, so the same file gives the same bytes), made with
# the programs; `out` names the compressed file.
function(sf_compressed out file)
  find_program(SF_GZIP gzip REQUIRED)
  get_filename_component(name ${file} NAME)
  set(copy ${CMAKE_BINARY_DIR}/compressed/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${copy}
    COMMAND ${SF_GZIP} -9nf ${copy}
    DEPENDS ${file} VERBATIM)
  add_custom_target(compressed_${name} ALL DEPENDS ${copy}.gz)
  set(${out} ${copy}.gz PARENT_SCOPE)
endfunction()

# The target `programs`: everything the default build makes outside tests/,
# bench/ and fuzz/, which is what an installation holds and what running the
# tool needs. Called once every folder has made its targets.
function(sf_add_programs_target)
  add_custom_target(programs)
  sf_add_to_programs(${PROJECT_SOURCE_DIR})
endfunction()

function(sf_add_to_programs folder)
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(excluded ${target} EXCLUDE_FROM_ALL)
    get_target_property(type ${target} TYPE)
    if(NOT excluded AND NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT target STREQUAL "programs")
      add_dependencies(programs ${target})
    endif()
  endforeach()
  get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(subfolder IN LISTS subfolders)
    if(NOT subfolder MATCHES "^${PROJECT_SOURCE_DIR}/(tests|bench|fuzz)$")
      sf_add_to_programs(${subfolder})
    endif()
  endforeach()
endfunction()
