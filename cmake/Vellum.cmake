# Shared settings for every target of the project.

set(VELLUM_PCH_HEADERS <QString> <QByteArray> <QStringList> <QList> <QHash> <QFile> <QDir>
    <memory> <vector> <string> <functional> <cstdint> <algorithm>)

function(vellum_target_settings target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
        if(VELLUM_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
    target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS)
endfunction()

# vellum_library(name SOURCES ... DEPS ...): one static library per subsystem folder.
function(vellum_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    vellum_target_settings(${name})
    target_precompile_headers(${name} PRIVATE ${VELLUM_PCH_HEADERS})
endfunction()

# vellum_test(name SOURCES ... DEPS ...): one GoogleTest binary per tested folder.
function(vellum_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
    vellum_target_settings(${name})
    target_precompile_headers(${name} PRIVATE ${VELLUM_PCH_HEADERS} <gtest/gtest.h>
        "${PROJECT_SOURCE_DIR}/tests/support/QtPrinters.h")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
        # One value per property: a list here would be split into separate arguments.
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
            ENVIRONMENT_MODIFICATION "VELLUM_SOURCE_DIR=set:${PROJECT_SOURCE_DIR}"
        DISCOVERY_TIMEOUT 60)
endfunction()
