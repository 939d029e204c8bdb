# After the install rules of every subsystem: refresh the desktop's caches
# for a direct install, and describe the Debian package.
include(GNUInstallDirs)

install(CODE "set(PLANDECK_INSTALL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/PlandeckPostInstall.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plandeck)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Plandeck")
set(CPACK_PACKAGE_CONTACT "Plandeck developers <developers@plandeck.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for Primavera P6 XER schedules")
set(CPACK_PACKAGE_DESCRIPTION "Plandeck opens schedules exported from Oracle Primavera P6 as XER files and
shows their activities as a grouped, collapsible tree beside a Gantt chart,
with filters, grouping, bar styles, CSV export, printing and snipping.
It never writes to the files it opens.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION office)
# dpkg-shlibdeps turns the Qt libraries the program links into dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
