# The Debian package, built by CPack from the install rules (./package).
set(ZX_HOMEPAGE "https://zx316b-link.example.org/" CACHE STRING "The program's home page (ends with /)")
set(ZX_MAINTAINER "ZX316B Link developers <zx316b-link@example.org>")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zx316b-link)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZX316B Link developers")
set(CPACK_PACKAGE_CONTACT "${ZX_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set up the ZX316B speed controller and view its run log")
# The summary above is the first line; this is the long text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"ZX316B Link connects a PC to the ZX316B electronic speed controller for
radio-controlled models over an RS-232 serial line or a USB-to-serial adapter.
It reads the controller's settings into range-checked fields, writes them
back with a read-back check, restores the factory defaults, and fetches the
run log of battery voltage and motor current to show it as a graph.
.
The package also holds zx316b-cli, the same operations from a command
line without a display, and zx316b-sim, a simulated controller on a
pseudo-terminal for trying the program without a controller.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZX_HOMEPAGE}")
# The libraries the programs link against, with their versions, as dpkg-shlibdeps finds
# them; the display plugin of Qt comes with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
