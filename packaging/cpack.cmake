# The Debian package roomkit_<version>_<arch>.deb: the installed tree above under /usr, its
# dependencies worked out from the programs' shared libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME roomkit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "roomkit developers")
set(CPACK_PACKAGE_CONTACT "${ROOMKIT_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maintenance toolkit and launcher bar for building databases")
set(CPACK_PACKAGE_DESCRIPTION
"roomkit maintains the per-building room databases of a facility-cleaning
management suite: pick a building database, pick one of eight functions
(Change Room Number, Modify Room Data, Copy Room Inventory, Auto Generate
Rooms, Database Cleanup, Change Assignment Number, Combine Rooms, Change
Sort Fields), fill in its panel and run it.
.
switchboard is the suite's floating launcher bar, whose picture buttons
start the suite's module programs. roomkit-db creates, fills, exports and
imports building databases from the command line.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ROOMKIT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
