# The Debian package: tools/package.sh runs CPack on a configured build.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrova")
set(CPACK_PACKAGE_CONTACT "Kestrova developers <dev@kestrova.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kestrova developers <dev@kestrova.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "remote display for a radio direction-finding processor")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Kestrova shows what a direction-finding processor streams over an RS-232 line at 19200 "
  "baud: a polar needle gauge and digital bearing, signal and tune meters, status banners, "
  "the antenna and band in use, and the GPS position. It answers the processor and blanks "
  "what goes stale. Settings are kept per user in ~/.config/kestrova/. kestrova-fix finds "
  "the transmitter from the bearing logs it writes.")
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the program links come from dpkg-shlibdeps where it can run (dpkg-dev, and
# file, which CPack needs for it), else from this list; the platform plugins, without which
# no window opens, are named always.
find_program(KESTROVA_SHLIBDEPS dpkg-shlibdeps)
find_program(KESTROVA_FILE file)
if(KESTROVA_SHLIBDEPS AND KESTROVA_FILE)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The map reads MBTiles files through Qt's SQLite driver, a plugin no library names.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins (>= 6.4), libqt6sql6-sqlite (>= 6.4)")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), \
libqt6widgets6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6network6 (>= 6.4), \
qt6-qpa-plugins (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), libgeographiclib23, \
libstdc++6 (>= 12), libc6 (>= 2.36)")
endif()
set(CPACK_STRIP_FILES ON)
# Packaging uses what was built; it never builds the test programs first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
