# The project's version, one place for all: code includes ProjectVersion.h
# (target project_version), and each Windows program carries a version block
# with file and product version from it (x.y.z becomes x.y.z.0) and its own
# names and description.
configure_file(${PROJECT_SOURCE_DIR}/cmake/ProjectVersion.h.in
               ${PROJECT_BINARY_DIR}/generated/ProjectVersion.h @ONLY)
add_library(project_version INTERFACE)
target_include_directories(project_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

if(WIN32)
  enable_language(RC)
endif()

function(sf_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(SF_FILE_DESCRIPTION "${description}")
  set(SF_VERSION_DOTS "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  string(REPLACE "." "," SF_VERSION_COMMAS "${SF_VERSION_DOTS}")
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  get_target_property(suffix ${target} SUFFIX)
  if(NOT suffix)
    set(suffix ${CMAKE_EXECUTABLE_SUFFIX})
  endif()
  set(SF_INTERNAL_NAME "${output_name}")
  set(SF_ORIGINAL_FILENAME "${output_name}${suffix}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/res/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
