# The Debian package, built with `cpack -G DEB` in the build folder: everything `cmake --install`
# puts under /usr. Library dependencies are read from the program by dpkg-shlibdeps; the plugins
# Qt loads at run time are not linked, so they are named here.

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zarvo RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zarvo developers")
set(CPACK_PACKAGE_CONTACT "Zarvo developers <zarvo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop organizer and task scheduler")
set(CPACK_PACKAGE_DESCRIPTION
  "Zarvo sits in the notification area and carries out each task at its second: a reminder \
(optionally with a WAV sound), a birthday notice, shutdown or restart after a 15-second \
countdown, log-off, the screen saver, or opening a program or document. Its user interface \
is in Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zarvo developers <zarvo@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/zarvo/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SVG icon engine and image plugin (libqt6svg6), Qt's Russian dialog texts
# (qt6-translations-l10n). The xcb platform plugin comes with libqt6gui6 and the sound back ends
# with libqt6multimedia6, both found through the program's own libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n, fonts-paratype, fonts-liberation2")

include(CPack)
