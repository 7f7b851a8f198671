# The Debian package, made by `cpack -G DEB` from the install rules: brivana_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brivana)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brivana developers")
set(CPACK_PACKAGE_CONTACT "Brivana developers <dev@brivana.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "game for practising the multiplication of signed integers")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Brivana is a small game, in Italian, for pupils who are learning to\n"
    "multiply signed integers (numeri relativi). The pupil has fifteen minutes\n"
    "to answer as many multiplications as possible; at least one factor is\n"
    "always negative. The window tells whether each answer is right and keeps\n"
    "the tallies and the best score.\n"
    "\n"
    "Every local account plays for the same record, kept in /var/games/brivana\n"
    "by the system user games; no player can change it except by playing.\n"
    "Every game's result is written in a register, per school year, that only\n"
    "the members of the group brivana-docenti can read.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The desktop entry carries the executable's path as configured: cpack checks the two agree.
set(CPACK_BRIVANA_CONFIGURED_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package-check.cmake)
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://brivana.example.org/)
# Libraries come from dpkg-shlibdeps; the window also needs the fonts it draws with and
# Qt's Italian translations of the standard dialog buttons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# debconf asks, at low priority, for the class record's folder on the school's server; passwd
# makes the teachers' group.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-translations-l10n, passwd, debconf (>= 0.5) | debconf-2.0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/data/debian/config ${PROJECT_SOURCE_DIR}/data/debian/templates
    ${PROJECT_SOURCE_DIR}/data/debian/postinst ${PROJECT_SOURCE_DIR}/data/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
