# Strict warnings for the project's own targets only. They are errors where asked (the test
# command asks): a packager's newer compiler may warn where ours does not, and that must
# not stop the build.
option(TETRAKON_WERROR "Treat the project's warnings as errors" OFF)

function(tetrakon_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
        -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
        -Wnull-dereference -Wimplicit-fallthrough $<$<BOOL:${TETRAKON_WERROR}>:-Werror>)
endfunction()

# A static library built from every source file of one folder, linked to the given
# libraries. A folder with no sources yet gives an interface library.
function(tetrakon_folder_library target)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(sources)
        add_library(${target} STATIC ${sources})
        target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
        target_link_libraries(${target} PUBLIC ${ARGN})
        tetrakon_warnings(${target})
    else()
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
        target_link_libraries(${target} INTERFACE ${ARGN})
    endif()
endfunction()

# One test program per test folder: every *_test.cpp in it.
function(tetrakon_test_folder target)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${target} PRIVATE
        TETRAKON_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
        TETRAKON_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    tetrakon_warnings(${target})
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${target})
endfunction()
