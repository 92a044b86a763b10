# Desktop integration and the Debian package (cpack -G DEB from the build folder).
include(GNUInstallDirs)
install(FILES data/io.github.tomefuse.Tomefuse.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/io.github.tomefuse.Tomefuse.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/tomefuse.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(TOMEFUSE_HELP_PAGES data/help/index.html data/help/index.de.html data/help/index.fr.html data/help/index.es.html)
install(FILES ${TOMEFUSE_HELP_PAGES} DESTINATION ${CMAKE_INSTALL_DATADIR}/tomefuse/help)
# Debian wants the licence where every package keeps it.
install(FILES data/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tomefuse)

# The application looks for its help page and icon beside itself in the build tree.
foreach(page ${TOMEFUSE_HELP_PAGES})
  configure_file(${page} ${CMAKE_BINARY_DIR}/src/${page} COPYONLY)
endforeach()
configure_file(data/icons/tomefuse.svg ${CMAKE_BINARY_DIR}/src/data/icons/tomefuse.svg COPYONLY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tomefuse)
set(CPACK_PACKAGE_VENDOR "Tomefuse")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Combine several PDF files into one, bookmarks included")
# dpkg shows the long description as it stands: lines of less than 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tomefuse combines PDF files into one document: every page of every file, in"
  "the order of a list you arrange, and a merged outline in which each file's"
  "bookmarks lead to their pages' new places, optionally under one bookmark per"
  "file. tomefuse-combine does the same from a terminal.")
set(CPACK_PACKAGE_CONTACT "Tomefuse Developers <dev@tomefuse.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# Dependencies computed from the binaries (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening the combined PDF and the help page goes through xdg-open; Qt draws the SVG icon through
# a plugin, which no library dependency reveals.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libqt6svg6, adwaita-icon-theme, qt6-translations-l10n")
if(TOMEFUSE_SANITIZE)
  message(STATUS "Note: a package of this build would need the sanitizer runtimes; package one without TOMEFUSE_SANITIZE")
endif()
include(CPack)
