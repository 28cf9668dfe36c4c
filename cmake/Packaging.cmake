# The Debian package of scripts/package. Its dependencies are worked out from the shared
# libraries the programs link (dpkg-shlibdeps), so they name the runtime packages of the
# Debian release it is built on; the font is no library and is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvell)
set(CPACK_PACKAGE_VENDOR "Orvell")
set(CPACK_PACKAGE_CONTACT "Orvell developers <orvell@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player for Japanese visual novels stored in ov archives")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvell plays one family of Japanese visual novels, the games stored in ov_*.orv archives, \
with saving and loading, a backlog, skip and auto modes and game controllers. orvtool looks \
inside the archives and rebuilds them; a short demo game comes with it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debug information stays in the build tree; the package is for playing.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
# The window runs natively in Wayland sessions with Qt's plugin, under XWayland without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
