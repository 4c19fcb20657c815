# `make package`: a Debian package of what `cmake --install` puts in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvia)
set(CPACK_PACKAGE_VENDOR "The Quorvia developers")
set(CPACK_PACKAGE_CONTACT "${QUORVIA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "recorder for direct behaviour observation sessions")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvia is a recorder for direct behaviour observation. An observer binds up to\n"
    "ten keys to the behaviours of interest, each counted at every press or\n"
    "switched on and off as an ongoing state, and codes what they see by typing\n"
    "those keys during a session of up to an hour.\n"
    "\n"
    "Every press is counted per key and per interval on a one-second session\n"
    "clock and logged with its time. At the end of the session the program writes\n"
    "a session workbook (.xlsx) with the session parameters, the entry log and,\n"
    "per key, the interval values and summary measures (full- and\n"
    "partial-interval percentages, responses per minute).")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUORVIA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quorvia.org/)
# Shared libraries found by dpkg-shlibdeps; named besides: the Qt plugins loaded at run time (the
# SQLite driver of the session journal, the Qt Multimedia backends, which Debian 12 ships in
# libqt6multimedia6) and the face the window's fixed layout is drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6multimedia6, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
