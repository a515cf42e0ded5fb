# Header-only libraries serve any target system, but Debian installs them among
# the build machine's own headers, which a cross compiler must never see. For a
# cross build, copy just their headers and their CMake package files into the
# build folder, in the same layout, so that find_package finds them there.
function(sf_use_host_header_package package header_folder)
  set(root ${CMAKE_BINARY_DIR}/host-header-packages)
  file(COPY /usr/include/${header_folder} DESTINATION ${root}/include)
  file(COPY /usr/share/cmake/${package} DESTINATION ${root}/share/cmake)
  set(${package}_DIR ${root}/share/cmake/${package} CACHE PATH "" FORCE)
endfunction()

sf_use_host_header_package(nlohmann_json nlohmann)
sf_use_host_header_package(CLI11 CLI)
sf_use_host_header_package(tl-expected tl)
