# Installation and the Debian package. `cmake --install` lays the program out as a Linux desktop
# expects it, in the folders the top-level CMakeLists.txt decides: the program in bin/, the
# windows' program it becomes in libexec/quorvale-pro/, the help file in share/quorvale-pro/
# (each program finds the next by the relative path written into platform/Version.h), the icon
# in the hicolor theme, the desktop entry in share/applications/, the AppStream metadata in
# share/metainfo/, the manual page in share/man/man1/ and the copyright and changelog in
# share/doc/quorvale-pro/. The other pictures are compiled into the windows' program. `cpack -G DEB` in the build folder packs the same tree
# as a .deb.
#
# The packaging files are kept in packaging/, not debian/: a debian/ folder would tell
# dpkg-source and debuild that this tree is a Debian source package built by debian/rules,
# while the package is made by CPack from this build.
set(QUORVALE_PACKAGING ${QUORVALE_SOURCE_ROOT}/packaging)
set(QUORVALE_APP_ID example.tamblewick.QuorvalePro)
set(QUORVALE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quorvale-pro)

# The newest changelog entry is the release being built: it must be for the project's version,
# and its date is the release's date in the metadata and the manual page.
find_program(DPKG_PARSECHANGELOG dpkg-parsechangelog REQUIRED)
execute_process(
    COMMAND ${DPKG_PARSECHANGELOG} -l ${QUORVALE_PACKAGING}/changelog -S Version
    OUTPUT_VARIABLE changelog_version OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${DPKG_PARSECHANGELOG} -l ${QUORVALE_PACKAGING}/changelog -S Timestamp
    OUTPUT_VARIABLE QUORVALE_RELEASE_TIMESTAMP OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
if(NOT changelog_version STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/changelog: the newest entry is for ${changelog_version}, "
                        "the project is ${PROJECT_VERSION}; add an entry for the new version")
endif()
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${QUORVALE_RELEASE_TIMESTAMP})
string(TIMESTAMP QUORVALE_RELEASE_DATE "%Y-%m-%d" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUORVALE_PACKAGING}/changelog)

# The manual page, written by help2man from the program's --help and --version and the include
# file, dated by the release. QUORVALE_MANUAL_PAGE is the page the tests read.
find_program(HELP2MAN help2man REQUIRED)
set(QUORVALE_MANUAL_PAGE ${CMAKE_CURRENT_BINARY_DIR}/manpage/quorvale.1)
add_custom_command(OUTPUT ${QUORVALE_MANUAL_PAGE} ${QUORVALE_MANUAL_PAGE}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/manpage
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QUORVALE_RELEASE_TIMESTAMP}
            ${HELP2MAN} --no-info --section=1 --include=${QUORVALE_PACKAGING}/quorvale.h2m
            --output=${QUORVALE_MANUAL_PAGE} $<TARGET_FILE:quorvale>
    COMMAND gzip -9nkf ${QUORVALE_MANUAL_PAGE}
    DEPENDS quorvale ${QUORVALE_PACKAGING}/quorvale.h2m
    VERBATIM)

# The changelog of a native package, compressed as Debian wants it.
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/doc
    COMMAND ${CMAKE_COMMAND} -E copy ${QUORVALE_PACKAGING}/changelog
            ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog
    COMMAND gzip -9nf ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog
    DEPENDS ${QUORVALE_PACKAGING}/changelog
    VERBATIM)
add_custom_target(quorvale_package_files ALL
    DEPENDS ${QUORVALE_MANUAL_PAGE}.gz ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz)

configure_file(${QUORVALE_PACKAGING}/${QUORVALE_APP_ID}.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/${QUORVALE_APP_ID}.metainfo.xml @ONLY)

install(TARGETS quorvale RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# An internal program, not for users to start: in a folder of the package's own in libexec/,
# where bin/quorvale looks for it and lintian asks no manual page.
install(TARGETS quorvale-windows RUNTIME DESTINATION ${QUORVALE_INSTALL_LIBEXEC_DIR})
install(FILES ${QUORVALE_SOURCE_ROOT}/resources/vormex.hlp
        DESTINATION ${QUORVALE_INSTALL_DATA_DIR})
install(FILES ${QUORVALE_SOURCE_ROOT}/resources/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME quorvale-pro.svg)
install(FILES ${QUORVALE_SOURCE_ROOT}/resources/${QUORVALE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${QUORVALE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QUORVALE_MANUAL_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QUORVALE_PACKAGING}/copyright ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${QUORVALE_DOC_DIR})

set(CPACK_PACKAGE_NAME quorvale-pro)
set(CPACK_PACKAGE_VENDOR "Tamblewick Software")
set(CPACK_PACKAGE_CONTACT "Tamblewick Software <support@tamblewick.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop calculator for comparing fixed-rate loans")
# Debian's extended description: lines of at most 80 columns, each indented by CPack.
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvale Pro fills a grid of twelve by eight loans around the one entered:\n\
the monthly payment, the loan amount, the interest rate or the term is\n\
calculated for the other three, in steps of the user's choice. The grid\n\
prints as a one-page payment chart, and the program can check the maker's\n\
web site for a newer version.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# All rights are reserved (see packaging/copyright): the package is not free software.
set(CPACK_DEBIAN_PACKAGE_SECTION non-free/misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.tamblewick.example/Vormex/Vormex.htm")
# The shared libraries the program links (the SVG renderer of its pictures among them) come from
# dpkg-shlibdeps; the Arial-compatible fonts, which nothing links, are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# A message box for a start that fails before any window can show one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "zenity | kdialog | x11-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
include(CPack)
