# Installation and the Debian package. `cmake --install` lays the program out as a Linux desktop
# expects it: the program in bin/, the help file in share/quorvale-pro/ (where the installed
# program looks for it), the icon in the hicolor theme and the desktop entry in
# share/applications/. The other pictures are compiled into the program. `cpack -G DEB` in the
# build folder packs the same tree as a .deb.
include(GNUInstallDirs)

install(TARGETS quorvale RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QUORVALE_SOURCE_ROOT}/resources/vormex.hlp
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvale-pro)
install(FILES ${QUORVALE_SOURCE_ROOT}/resources/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME quorvale-pro.svg)
install(FILES ${QUORVALE_SOURCE_ROOT}/resources/quorvale-pro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(CPACK_PACKAGE_NAME quorvale-pro)
set(CPACK_PACKAGE_VENDOR "Tamblewick Software")
set(CPACK_PACKAGE_CONTACT "Tamblewick Software <support@tamblewick.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop calculator for comparing fixed-rate loans")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvale Pro fills a spread of monthly payments, loan amounts, interest rates or terms\n\
around one loan, prints it as a chart and checks the maker's site for a newer version.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.tamblewick.example/")
# The shared libraries the program links (the SVG renderer of its pictures among them) come from
# dpkg-shlibdeps; the Arial-compatible fonts, which nothing links, are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
include(CPack)
