# The dialog on a Linux desktop: its entry in the menus, its icon in every
# size the desktop asks for, its manual page and the metainfo that software
# centres show.

# The desktop entry names the installed program and the data folder it starts
# in, so it is written at install time, when the prefix (cmake --install
# --prefix, or /usr in the .deb) is known.
install(CODE "
  set(SF_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${SF_INSTALL_BINDIR}\")
  set(SF_DATADIR \"\${CMAKE_INSTALL_PREFIX}/${SF_INSTALL_DATADIR}\")
  set(SF_APP_ID ${SF_APP_ID})
  set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${SF_APP_ID}.desktop\")
  message(STATUS \"Installing: \${entry}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/res/linux/desktop-entry.desktop.in\" \"\${entry}\" @ONLY)
")

# res/artwork draws the theme's icons: SVG, and PNG at 16 to 256 pixels.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/res/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

configure_file(${PROJECT_SOURCE_DIR}/res/linux/metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/${SF_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${SF_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

configure_file(${PROJECT_SOURCE_DIR}/res/linux/SparrowflasherMaker.1.in
               ${CMAKE_CURRENT_BINARY_DIR}/SparrowflasherMaker.1 @ONLY)
sf_compressed(man_page ${CMAKE_CURRENT_BINARY_DIR}/SparrowflasherMaker.1)
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
