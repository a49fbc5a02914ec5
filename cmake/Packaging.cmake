# The Debian package, built with `cpack -G DEB` in the build folder: everything `cmake --install`
# puts under /usr. Library dependencies are read from the program by dpkg-shlibdeps; the plugins
# Qt loads at run time are not linked, so they are named here. The copyright file and the
# changelog come from resources/debian.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zarvo developers")
set(CPACK_PACKAGE_CONTACT "Zarvo developers <zarvo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop organizer and task scheduler")
# The extended description, below the summary; wrapped by hand: the control file keeps the lines
# as given, and they must fit 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A small task scheduler that sits in the notification area and carries out
each task at its second: a reminder (optionally with a WAV sound), a birthday
notice, shutdown or restart after a 15-second countdown, log-off, the screen
saver, or opening a program or document. A task fires once, every day or
every year on its day.
.
The user interface is in Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zarvo developers <zarvo@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/zarvo/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SVG icon engine and image plugin ship in libqt6svg6, which dpkg-shlibdeps already lists for
# the program's own libQt6Svg; the xcb platform plugin comes with libqt6gui6 and the sound back
# ends with libqt6multimedia6. Named here only when there is no program to read them from.
# The UI fonts the windows are laid out for come from fonts-paratype and fonts-liberation2.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-paratype, fonts-liberation2")
if(NOT TARGET zarvo)
  string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, ")
endif()
# Without these the program still runs: Qt's standard buttons stay English (the translations),
# opening documents, the home page and mail does nothing (xdg-utils), and a Wayland session falls
# back to X11 (qt6-wayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland, xdg-utils")

include(CPack)
