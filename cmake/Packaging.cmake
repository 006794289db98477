# The Debian package: `cmake --build build --target package` gives
# veltrin-view_<version>_<arch>.deb from what `cmake --install` installs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrin-view)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quon)
set(CPACK_PACKAGE_CONTACT "${VELTRIN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "viewer and configuration tool for the Veltrin flight-data recorder")
# Lines of at most 80 characters; an empty line starts a paragraph.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Veltrin View lists the flights on a Veltrin recorder card by day with their\n"
  "extreme values, shows a flight as three synchronised, zoomable graphs\n"
  "(vertical acceleration, air speed, altitude) and exports it as CSV, KML, GPX\n"
  "or a PDF report. It configures the recorder over a serial port or USB.\n"
  "\n"
  "The package also holds veltrin-export for exports from the command line, and\n"
  "the recorder simulator and the sample card generator to try everything\n"
  "without hardware.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELTRIN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not tell: setcap for the postinst, and Qt's plugin for
# the X11/Wayland display, which is loaded at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcap2-bin, qt6-qpa-plugins")
# Without udev the program still works, only not with the recorder on USB as a
# normal user; containers have none.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, qt6-translations-l10n, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/postinst
    ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
