# The fuzz targets (fuzz/) need clang's libFuzzer, so they are a project of their own, built with
# clang into build/fuzz beside the main build; each gets a short run in the suite (tools/fuzz --smoke).
option(GYRE_BUILD_FUZZ "Build the fuzz targets (with clang) and give each a short run in the suite" ON)
if(NOT GYRE_BUILD_FUZZ)
    return()
endif()
find_program(GYRE_CLANGXX clang++)
if(NOT GYRE_CLANGXX)
    message(STATUS "clang++ not found: no fuzz targets (tools/install-deps installs it)")
    return()
endif()
include(ExternalProject)
ExternalProject_Add(gyre-fuzz
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${GYRE_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
        -DGYRE_FUZZ_MEDIA=${GYRE_TEST_MEDIA_DIR}
    DEPENDS gyre-geometry-media
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/fuzz)
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/fuzz --list OUTPUT_VARIABLE _fuzz_targets
    OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REPLACE "\n" ";" _fuzz_targets "${_fuzz_targets}")
foreach(target ${_fuzz_targets})
    add_test(NAME fuzz_${target} COMMAND ${PROJECT_SOURCE_DIR}/tools/fuzz --smoke ${target})
    set_tests_properties(fuzz_${target} PROPERTIES TIMEOUT 300 LABELS fuzz
        ENVIRONMENT "GYRE_FUZZ_BUILD=${CMAKE_BINARY_DIR}/fuzz")
endforeach()
