# plandeck_add_test(<name> SOURCES <files...> LIBS <targets...>)
#
# One QtTest executable per class or topic, registered with CTest and run
# headless with a private runtime folder and a timeout, so a hung test fails
# instead of stalling CI.
set(PLANDECK_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/xdg-runtime)
file(MAKE_DIRECTORY ${PLANDECK_TEST_RUNTIME_DIR})
file(CHMOD ${PLANDECK_TEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

set(PLANDECK_TEST_DATA_DIR ${CMAKE_SOURCE_DIR}/tests/data)
# A worktree beside the main checkout has no shared folder next to it; it
# names the samples with -DPLANDECK_SAMPLES_DIR=... instead.
if(NOT PLANDECK_SAMPLES_DIR)
    get_filename_component(PLANDECK_SAMPLES_DIR ${CMAKE_SOURCE_DIR}/../shared/xer-samples ABSOLUTE)
endif()
set(PLANDECK_LSAN_SUPPRESSIONS ${CMAKE_SOURCE_DIR}/tests/lsan.supp)

function(plandeck_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE
        PLANDECK_TEST_DATA_DIR="${PLANDECK_TEST_DATA_DIR}"
        PLANDECK_SAMPLES_DIR="${PLANDECK_SAMPLES_DIR}"
        PLANDECK_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        PLANDECK_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    # The update check is off: nothing in the suite may reach outside the machine.
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=${PLANDECK_TEST_PLATFORM};PLANDECK_UPDATE_URL=;XDG_RUNTIME_DIR=${PLANDECK_TEST_RUNTIME_DIR};LSAN_OPTIONS=suppressions=${PLANDECK_LSAN_SUPPRESSIONS}:print_suppressions=0;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;QT_XCB_GL_INTEGRATION=none")
endfunction()
