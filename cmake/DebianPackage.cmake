# The Linux release as a Debian package (cpack --preset deb, after the
# release build): sparrowflasher-maker_<version>_<arch>.deb holding what
# `cmake --install` installs, under /usr, with stripped programs and the
# libraries they need worked out by dpkg-shlibdeps (Debian: dpkg-dev).
set(SF_DEB_MAINTAINER "Tavlen <sparrowflasher-maker@tavlen.com>" CACHE STRING
    "The maintainer the .deb names")

set(CPACK_PACKAGE_NAME "sparrowflasher-maker")
# The long description as dpkg shows it: lines of at most 80 characters.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "firmware-updater package maker for Tavlen USB HID devices"
  "Sparrowflasher Maker makes firmware-updater packages for Tavlen USB HID"
  "devices: the updater program with the internal flash image, an optional"
  "external image and a descriptor (title, texts, version, the USB identities"
  "of the application and of its loader, digest, command key, options)"
  "appended to it, scrambled with a fresh key."
  "."
  "It holds the desktop tool SparrowflasherMaker, one dialog that remembers"
  "every field between runs, and sfmaker, a command-line companion for build"
  "pipelines that makes, inspects and unpacks packages. ELF, Intel HEX and"
  "S-record images are taken as the device takes them.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SF_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SF_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# What a Debian package carries beside its files: the copyright and the
# changelog, compressed as the policy asks.
sf_compressed(changelog ${PROJECT_SOURCE_DIR}/res/linux/changelog)
install(FILES ${PROJECT_SOURCE_DIR}/res/linux/copyright ${changelog}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_PACKAGE_NAME})

sf_release_package()
