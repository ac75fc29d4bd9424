# Native build: the portable core under AddressSanitizer and UBSan, unit-tested with GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
target_compile_options(core PRIVATE -Wall -Wextra ${SANITIZE})
target_link_options(core PUBLIC ${SANITIZE})

set(NATIVE_TESTS "")
foreach(dir ${SUBSYSTEMS} support)
  file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*_test.cpp)
  list(APPEND NATIVE_TESTS ${found})
endforeach()
file(GLOB SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "(_test|_win)\\.cpp$")

add_executable(core_tests ${NATIVE_TESTS} ${SUPPORT_SOURCES})
target_compile_options(core_tests PRIVATE -Wall -Wextra ${SANITIZE})
target_include_directories(core_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(core_tests PRIVATE core GTest::gtest GTest::gtest_main)
target_compile_definitions(core_tests PRIVATE TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data")
gtest_discover_tests(core_tests DISCOVERY_MODE PRE_TEST)

# Fuzz targets (libFuzzer, clang only): tests/fuzz/*_fuzz.cpp, each a target of its own.
find_program(CLANGXX clang++)
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
if(FUZZ_SOURCES AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  foreach(f ${FUZZ_SOURCES})
    get_filename_component(name ${f} NAME_WE)
    add_executable(${name} ${f} ${CORE_SOURCES})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
endif()

# The run command's scripts (scripts/run.sh and its hooks in scripts/run.d/), without Wine.
add_test(NAME run_hooks COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-run-hooks.sh)
