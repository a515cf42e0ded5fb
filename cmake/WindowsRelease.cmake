# CPack settings of the Windows release (cpack --preset windows-release):
# SparrowflasherMaker-<version>-win64.zip holding SparrowflasherMaker.exe,
# sfmaker.exe, AP2.EXE and default.ini in one folder, stripped; and, where
# makensis is found, an installer that puts the same folder under Program
# Files with a Start menu entry and an uninstaller.
set(CPACK_PACKAGE_NAME "SparrowflasherMaker")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Makes firmware-updater packages for Tavlen USB HID devices")
set(CPACK_PACKAGE_FILE_NAME "SparrowflasherMaker-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Sparrowflasher Maker")

set(CPACK_GENERATOR ZIP)
find_program(SF_MAKENSIS makensis)
if(SF_MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
endif()
set(CPACK_NSIS_DISPLAY_NAME "Sparrowflasher Maker ${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME "Sparrowflasher Maker")
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/res/IDI_MAIN.ico")
set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/res/IDI_MAIN.ico")
set(CPACK_NSIS_INSTALLED_ICON_NAME "SparrowflasherMaker.exe")
# A Start menu entry for the dialog; the tool finds default.ini in the
# folder it starts in, so the entry starts it in its own folder.
set(CPACK_PACKAGE_EXECUTABLES "SparrowflasherMaker" "Sparrowflasher Maker")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
# A 64-bit installer for 64-bit programs, which go under "Program Files".
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")

sf_release_package()
