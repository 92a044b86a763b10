# Desktop integration and the Debian package (cpack -G DEB from the build folder).
include(GNUInstallDirs)
install(FILES data/io.github.tomefuse.Tomefuse.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/io.github.tomefuse.Tomefuse.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/tomefuse.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/help/index.html DESTINATION ${CMAKE_INSTALL_DATADIR}/tomefuse/help)

# The application looks for its help page beside itself in the build tree.
configure_file(data/help/index.html ${CMAKE_BINARY_DIR}/src/data/help/index.html COPYONLY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tomefuse)
set(CPACK_PACKAGE_VENDOR "Tomefuse")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Combine several PDF files into one, bookmarks included")
set(CPACK_PACKAGE_CONTACT "Tomefuse Developers <dev@tomefuse.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies computed from the binaries (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
