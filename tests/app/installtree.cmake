# Installs the build into a temporary DESTDIR and checks that the tree holds
# what a desktop needs: the program, its menu entry, its icon and the MIME
# type for .xer files, consistent with each other.
#   cmake -DBUILD_DIR=<build> -DSTAGE=<scratch folder> -P installtree.cmake
file(REMOVE_RECURSE "${STAGE}")
set(ENV{DESTDIR} "${STAGE}/root")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix /usr
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "install into DESTDIR failed: ${rc}")
endif()

set(root "${STAGE}/root/usr")
set(entry "${root}/share/applications/plandeck.desktop")
set(mime "${root}/share/mime/packages/plandeck.xml")
foreach(file bin/plandeck share/applications/plandeck.desktop share/mime/packages/plandeck.xml
             share/icons/hicolor/48x48/apps/plandeck.png share/icons/hicolor/128x128/apps/plandeck.png)
    if(NOT EXISTS "${root}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
# Help and version need no display, so the installed program can answer here.
execute_process(COMMAND "${root}/bin/plandeck" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_QUIET)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^plandeck [0-9]")
    message(FATAL_ERROR "the installed program does not run: ${rc} ${out}")
endif()
# A staged install is a package in the making: caches belong to the target system.
if(EXISTS "${root}/share/mime/mime.cache" OR EXISTS "${root}/share/applications/mimeinfo.cache")
    message(FATAL_ERROR "a staged install wrote desktop caches")
endif()

file(READ "${entry}" entryText)
file(READ "${mime}" mimeText)
string(REGEX MATCH "\nMimeType=([^;\n]+);" _ "${entryText}")
set(entryType "${CMAKE_MATCH_1}")
string(REGEX MATCH "<mime-type type=\"([^\"]+)\"" _ "${mimeText}")
if(entryType STREQUAL "" OR NOT entryType STREQUAL CMAKE_MATCH_1)
    message(FATAL_ERROR "the entry opens '${entryType}', the MIME file defines '${CMAKE_MATCH_1}'")
endif()
string(REGEX MATCH "\nIcon=([^\n]+)" _ "${entryText}")
if(NOT CMAKE_MATCH_1 STREQUAL "plandeck")
    message(FATAL_ERROR "the entry names icon '${CMAKE_MATCH_1}', installed is 'plandeck'")
endif()

find_program(validate desktop-file-validate)
if(validate)
    execute_process(COMMAND ${validate} "${entry}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
        message(FATAL_ERROR "desktop-file-validate: ${out}")
    endif()
else()
    message(STATUS "desktop-file-validate not found (tools/setup-debian.sh --dev): entry not validated")
endif()

# The MIME database tool is the judge of the MIME file: built into a
# scratch database, *.xer must map to the entry's type.
find_program(update_mime update-mime-database)
if(update_mime)
    file(COPY "${mime}" DESTINATION "${STAGE}/mime/packages")
    execute_process(COMMAND ${update_mime} "${STAGE}/mime" RESULT_VARIABLE rc ERROR_VARIABLE out)
    file(STRINGS "${STAGE}/mime/globs2" globs REGEX ":\\*\\.xer$")
    if(NOT rc EQUAL 0 OR NOT globs MATCHES ":${entryType}:\\*\\.xer")
        message(FATAL_ERROR "the MIME database does not map *.xer to ${entryType}: ${out}")
    endif()
endif()
