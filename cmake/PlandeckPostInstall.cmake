# Runs at install time. A staged install (DESTDIR, or the folder CPack builds
# a package from) must not ship caches: the target system's package triggers
# rebuild them there.
if(NOT "$ENV{DESTDIR}" STREQUAL "" OR CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
    return()
endif()
set(data "${CMAKE_INSTALL_PREFIX}/${PLANDECK_INSTALL_DATADIR}")
find_program(update_mime update-mime-database)
if(update_mime)
    execute_process(COMMAND ${update_mime} "${data}/mime")
endif()
find_program(update_desktop update-desktop-database)
if(update_desktop)
    execute_process(COMMAND ${update_desktop} -q "${data}/applications")
endif()
