# Cross build: the tool's single .exe, the Win32 shell library, and the Windows test programs.
enable_language(RC)

set(XP_DEFS UNICODE _UNICODE _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX
            WIN32_LEAN_AND_MEAN)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
set(SYSTEM_LIBS winspool setupapi ws2_32 iphlpapi comctl32 gdi32 user32 shell32 advapi32 ole32
                uuid)

target_compile_definitions(core PUBLIC ${XP_DEFS})
target_compile_options(core PRIVATE -Wall -Wextra)

add_library(shell STATIC ${WIN_SOURCES})
target_include_directories(shell PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(shell PRIVATE -Wall -Wextra)
target_link_libraries(shell PUBLIC core ${SYSTEM_LIBS})

add_executable(${TOOL_NAME} WIN32 ${CMAKE_SOURCE_DIR}/app/main_win.cpp
                                  ${CMAKE_SOURCE_DIR}/resources/tool.rc)
target_compile_options(${TOOL_NAME} PRIVATE -municode)
target_link_options(${TOOL_NAME} PRIVATE -municode ${STATIC_RUNTIME})
# The shell archive holds the dialog class that main refers to; link it whole so that nothing
# is dropped by archive order.
target_link_libraries(${TOOL_NAME} PRIVATE -Wl,--whole-archive shell -Wl,--no-whole-archive
                                           core ${SYSTEM_LIBS})
set_target_properties(${TOOL_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/dist)

# The folder as a user receives it: the .exe beside the driver package and Resource/.
if(EXISTS ${CMAKE_SOURCE_DIR}/package)
  add_custom_command(TARGET ${TOOL_NAME} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/package ${CMAKE_BINARY_DIR}/dist
    VERBATIM)
endif()

option(BUILD_WINE_TESTS "Build the Windows test programs that run under Wine" ON)
if(BUILD_WINE_TESTS)
# GoogleTest for the win32 thread model: gtest's Notification needs std::mutex, which this
# runtime lacks, so tests/support/gtest-custom supplies one over Win32 events.
set(GTEST_SRC /usr/src/googletest/googletest)
add_library(gtest_win STATIC ${GTEST_SRC}/src/gtest-all.cc)
target_include_directories(gtest_win BEFORE PUBLIC ${CMAKE_SOURCE_DIR}/tests/support/gtest-custom
                                                   ${GTEST_SRC}/include)
target_include_directories(gtest_win PRIVATE ${GTEST_SRC})

file(GLOB WIN_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
list(FILTER WIN_SUPPORT EXCLUDE REGEX "_test\\.cpp$")
add_library(winsupport STATIC ${WIN_SUPPORT} ${CMAKE_SOURCE_DIR}/tests/support/gtest_main_win.cc)
target_include_directories(winsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(winsupport PUBLIC shell gtest_win)
# Where the test programs find the tool, the sample dialog, the sources and the build (Unix
# paths; tests/support/host_win.h converts them).
target_compile_definitions(winsupport PUBLIC
  TOOL_EXE_UNIX="${CMAKE_BINARY_DIR}/dist/${TOOL_NAME}.exe"
  SAMPLE_DIALOG_EXE_UNIX="${CMAKE_BINARY_DIR}/tests/sample_dialog.exe"
  SOURCE_DIR_UNIX="${CMAKE_SOURCE_DIR}" BINARY_DIR_UNIX="${CMAKE_BINARY_DIR}")

# The small dialog that the UI driver's own tests (tests/ui) drive.
set(SAMPLE_DIALOG_DIR ${CMAKE_SOURCE_DIR}/tests/support/sample_dialog)
add_executable(sample_dialog WIN32 ${SAMPLE_DIALOG_DIR}/sample_dialog_win.cpp
                                   ${SAMPLE_DIALOG_DIR}/sample_dialog.rc)
target_compile_definitions(sample_dialog PRIVATE UNICODE _UNICODE)
target_compile_options(sample_dialog PRIVATE -municode -Wall -Wextra)
target_link_options(sample_dialog PRIVATE -municode ${STATIC_RUNTIME})
set_target_properties(sample_dialog PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# The run command's helper (scripts/run.d/): registers a simulated USB printer in the prefix.
add_executable(register_usb_printer
               ${CMAKE_SOURCE_DIR}/tests/support/tools/register_usb_printer_win.cpp)
target_compile_options(register_usb_printer PRIVATE -municode -Wall -Wextra)
target_link_options(register_usb_printer PRIVATE -municode ${STATIC_RUNTIME})
target_link_libraries(register_usb_printer PRIVATE shell core ${SYSTEM_LIBS})
set_target_properties(register_usb_printer PROPERTIES
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# One Windows test program per folder of tests/, from its *_wintest.cpp files; ctest runs each
# under Wine (the bed script provides WINEPREFIX, DISPLAY and a running wineserver).
foreach(dir ${SUBSYSTEMS} classlib ui)
  file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*_wintest.cpp)
  if(found)
    set(name wine_${dir}_tests)
    add_executable(${name} ${found})
    target_compile_options(${name} PRIVATE -municode)
    target_link_options(${name} PRIVATE -municode ${STATIC_RUNTIME})
    target_link_libraries(${name} PRIVATE -Wl,--whole-archive winsupport -Wl,--no-whole-archive
                                          shell core gtest_win ${SYSTEM_LIBS})
    add_dependencies(${name} ${TOOL_NAME} sample_dialog)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  endif()
endforeach()
endif()

# The import check of the product (32-bit) build: only system DLLs, and no function that
# Windows XP lacks.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME xp_imports
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh $<TARGET_FILE:${TOOL_NAME}>)
  # The check itself: a program with a Vista function and a secure CRT function must fail it.
  add_executable(xp_import_probe ${CMAKE_SOURCE_DIR}/tests/support/xp_import_probe/newer_api.c)
  add_test(NAME xp_imports_rejects_newer_api
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh $<TARGET_FILE:xp_import_probe>)
  set_tests_properties(xp_imports_rejects_newer_api PROPERTIES PASS_REGULAR_EXPRESSION
    "MSVCRT.DLL!wcscpy_s does not exist on Windows XP.*KERNEL32.DLL!GetTickCount64 does not exist")
endif()
