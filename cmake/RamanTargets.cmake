# Project-wide helpers for libraries and tests.

# Strict Qt string handling for our own code; applied per target, never globally.
function(raman_strict_qt target)
    target_compile_definitions(${target} PRIVATE
        QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_FOREACH QT_USE_QSTRINGBUILDER
        QT_NO_URL_CAST_FROM_STRING QT_DISABLE_DEPRECATED_BEFORE=0x050F00)
endfunction()

# raman_add_library(name SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
function(raman_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    raman_strict_qt(${name})
endfunction()

set(RAMAN_TEST_DATA_DIR "${PROJECT_SOURCE_DIR}/../shared/data" CACHE PATH
    "Folder with the public reference spectra used by tests and benchmarks")

# raman_add_test(name SOURCES ... LIBS ... [LABELS ...] [TIMEOUT s] [QUALITY function ...])
# Every test runs headless, with its own settings and data folders so it never touches the user's.
# Test functions named under QUALITY need the large data sets of RAMAN_TEST_DATA_DIR: they run as
# the separate test name_quality (label "quality") and skip in the everyday run.
function(raman_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS;QUALITY" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
    raman_strict_qt(${name})
    target_compile_definitions(${name} PRIVATE
        RAMAN_TEST_DATA_DIR="${RAMAN_TEST_DATA_DIR}"
        RAMAN_REPO_DATA_DIR="${PROJECT_SOURCE_DIR}/data"
        RAMAN_BINARY_DIR="${CMAKE_BINARY_DIR}")
    set(profile "${CMAKE_BINARY_DIR}/test-profiles/${name}")
    set(environment "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${profile}/config;XDG_DATA_HOME=${profile}/data;XDG_CACHE_HOME=${profile}/cache")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}"
        ENVIRONMENT "${environment}")
    if(ARG_QUALITY)
        set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "RAMAN_SKIP_QUALITY=${name}_quality")
        add_test(NAME ${name}_quality COMMAND ${name} ${ARG_QUALITY})
        set_tests_properties(${name}_quality PROPERTIES TIMEOUT ${ARG_TIMEOUT}
            LABELS "${ARG_LABELS};quality" ENVIRONMENT "${environment}")
    endif()
endfunction()
