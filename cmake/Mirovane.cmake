# Source registration for the subsystem folders and assembly of the shared targets.
#
#   mirovane_add_core(<files>...)        portable core (no <windows.h>); platform files may be
#                                        listed with a _win / _posix suffix and are picked here
#   mirovane_add_win(<files>...)         Win32 layer of Mirovane.exe (Windows build only)
#   mirovane_add_core_tests(<files>...)  tests of the core: native (sanitized) and under Wine
#   mirovane_add_win_tests(<files>...)   in-process Win32 tests (Windows build only)

define_property(GLOBAL PROPERTY MIROVANE_CORE_SOURCES BRIEF_DOCS "core" FULL_DOCS "core sources")
define_property(GLOBAL PROPERTY MIROVANE_WIN_SOURCES BRIEF_DOCS "win" FULL_DOCS "Win32 sources")
define_property(GLOBAL PROPERTY MIROVANE_CORE_TEST_SOURCES BRIEF_DOCS "tests" FULL_DOCS "core tests")
define_property(GLOBAL PROPERTY MIROVANE_WIN_TEST_SOURCES BRIEF_DOCS "wtests" FULL_DOCS "Win32 tests")

function(_mirovane_append prop)
  foreach(f IN LISTS ARGN)
    get_filename_component(abs "${f}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    set_property(GLOBAL APPEND PROPERTY ${prop} "${abs}")
  endforeach()
endfunction()

function(mirovane_add_core)
  set(picked)
  foreach(f IN LISTS ARGN)
    if(f MATCHES "_win\\.cpp$")
      if(WIN32)
        list(APPEND picked "${f}")
      endif()
    elseif(f MATCHES "_posix\\.cpp$")
      if(NOT WIN32)
        list(APPEND picked "${f}")
      endif()
    else()
      list(APPEND picked "${f}")
    endif()
  endforeach()
  _mirovane_append(MIROVANE_CORE_SOURCES ${picked})
endfunction()

function(mirovane_add_win)
  _mirovane_append(MIROVANE_WIN_SOURCES ${ARGN})
endfunction()
function(mirovane_add_core_tests)
  _mirovane_append(MIROVANE_CORE_TEST_SOURCES ${ARGN})
endfunction()
function(mirovane_add_win_tests)
  _mirovane_append(MIROVANE_WIN_TEST_SOURCES ${ARGN})
endfunction()

# Every executable lands in one folder, so tests find mirovane-cli and Mirovane.exe beside themselves.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")

# Every target of the project (program, tools, tests, benchmarks, fuzz targets) compiles with
# these; the test command makes them errors (MIROVANE_WERROR).
set(MIROVANE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(MIROVANE_WERROR)
  list(APPEND MIROVANE_WARNINGS -Werror)
endif()
set(MIROVANE_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

# GoogleTest: Debian's libgtest-dev natively, built from /usr/src/googletest for the cross build.
macro(mirovane_find_gtest)
  if(WIN32)
    if(NOT TARGET gtest)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
      set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
      # SYSTEM: its headers are not ours to hold to our warning flags.
      add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
    endif()
    set(MIROVANE_GTEST gtest gmock)
  else()
    find_package(GTest REQUIRED)
    set(MIROVANE_GTEST GTest::gtest GTest::gmock)
  endif()
endmacro()

# One CTest entry per test binary: under Wine every binary costs one Wine start-up.
function(mirovane_add_test_binary name)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(WIN32)
    set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()

function(mirovane_assemble_targets)
  get_property(core GLOBAL PROPERTY MIROVANE_CORE_SOURCES)
  get_property(win GLOBAL PROPERTY MIROVANE_WIN_SOURCES)
  get_property(core_tests GLOBAL PROPERTY MIROVANE_CORE_TEST_SOURCES)
  get_property(win_tests GLOBAL PROPERTY MIROVANE_WIN_TEST_SOURCES)

  add_library(mirovane_core STATIC ${core})
  target_include_directories(mirovane_core PUBLIC "${PROJECT_SOURCE_DIR}/src")
  # The project's version (project() in the top CMakeLists.txt) for everything built on the core:
  # mirovane-cli --version, the about box and the version resource.
  set(version_defs MIROVANE_VERSION="${PROJECT_VERSION}"
      MIROVANE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} MIROVANE_VERSION_MINOR=${PROJECT_VERSION_MINOR}
      MIROVANE_VERSION_PATCH=${PROJECT_VERSION_PATCH})
  target_compile_definitions(mirovane_core PUBLIC ${version_defs})
  target_compile_options(mirovane_core PRIVATE ${MIROVANE_WARNINGS})
  if(WIN32)
    target_compile_definitions(mirovane_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                    _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  endif()

  # The sanitized twin of the core for the native tests; the CLI and benchmarks use the plain one.
  set(test_core mirovane_core)
  if(NOT WIN32 AND MIROVANE_SANITIZE)
    add_library(mirovane_core_san STATIC ${core})
    target_include_directories(mirovane_core_san PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_compile_definitions(mirovane_core_san PUBLIC ${version_defs})
    target_compile_options(mirovane_core_san PRIVATE ${MIROVANE_WARNINGS} PUBLIC ${MIROVANE_SAN_FLAGS})
    target_link_options(mirovane_core_san PUBLIC ${MIROVANE_SAN_FLAGS})
    set(test_core mirovane_core_san)
  endif()

  if(core_tests)
    mirovane_find_gtest()
    add_executable(core_tests ${core_tests})
    target_link_libraries(core_tests PRIVATE ${test_core} ${MIROVANE_GTEST})
    target_compile_options(core_tests PRIVATE ${MIROVANE_WARNINGS})
    target_include_directories(core_tests PRIVATE "${PROJECT_SOURCE_DIR}/tests")
    add_dependencies(core_tests mirovane-cli)
    if(WIN32)
      target_link_options(core_tests PRIVATE -static)
    endif()
    mirovane_add_test_binary(core_tests)
  endif()

  if(WIN32)
    mirovane_windows_targets("${win}" "${win_tests}")
  endif()
endfunction()

# Windows build: the Win32 layer as a library (compiled once for the program, the tests and the
# benchmark), Mirovane.exe (GUI, Unicode entry point, static, resources) and the Win32 tests.
function(mirovane_windows_targets win win_tests)
  set(win_lib ${win})
  list(FILTER win_lib EXCLUDE REGEX "/winmain\\.cpp$")
  set(win_main ${win})
  list(FILTER win_main INCLUDE REGEX "/winmain\\.cpp$")

  add_library(mirovane_win STATIC ${win_lib})
  target_link_libraries(mirovane_win PUBLIC mirovane_core
                        comctl32 shell32 ole32 gdi32 user32 shlwapi winmm uxtheme imm32)
  target_compile_options(mirovane_win PRIVATE ${MIROVANE_WARNINGS})
  # The windows, dialogs and controls run for a user's click, not in a loop: compiled for size,
  # which takes a fifth off the program's code and so off the memory it occupies from its start.
  # The portable core (the formatter runs at every refresh) keeps the speed-optimised build.
  if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    target_compile_options(mirovane_win PRIVATE -Os)
  endif()
  # res/resource.h (resource ids) for the layer's sources and for the resource script.
  target_include_directories(mirovane_win PUBLIC "${PROJECT_SOURCE_DIR}/res")

  add_executable(Mirovane WIN32 ${win_main} "${PROJECT_SOURCE_DIR}/res/mirovane.rc")
  target_link_libraries(Mirovane PRIVATE mirovane_win)
  target_compile_options(Mirovane PRIVATE ${MIROVANE_WARNINGS})
  # Sections aligned in the file as in memory (4 KiB): the loader can then map the program's pages
  # from the file as they are used, where MinGW's default 512-byte alignment makes Wine copy the
  # whole image into private memory at every start.
  target_link_options(Mirovane PRIVATE -municode -static -Wl,--file-alignment=4096)

  if(win_tests)
    mirovane_find_gtest()
    # The real windows are created in-process, with the program's resources, so they get the same
    # manifest (visual styles, DPI awareness) and icon as in Mirovane.exe.
    add_executable(win_tests ${win_tests} "${PROJECT_SOURCE_DIR}/res/mirovane.rc")
    target_link_libraries(win_tests PRIVATE mirovane_win ${MIROVANE_GTEST})
    target_compile_options(win_tests PRIVATE ${MIROVANE_WARNINGS})
    target_include_directories(win_tests PRIVATE "${PROJECT_SOURCE_DIR}/tests")
    target_link_options(win_tests PRIVATE -static)
    # The end-to-end tests start the program, the command-line tool and the alarm test program.
    add_dependencies(win_tests Mirovane mirovane-cli)
    if(TARGET alarm_arg_recorder)
      add_dependencies(win_tests alarm_arg_recorder)
    endif()
    mirovane_add_test_binary(win_tests)
    # The tests that depend on the kind of Windows again in a prefix of that kind: an English
    # Windows without the Japanese fonts, a Japanese one at 144 DPI, and one with two monitors.
    add_test(NAME win_tests_english COMMAND win_tests --gtest_color=no --gtest_filter=AnyLanguage.*)
    set_tests_properties(win_tests_english PROPERTIES TIMEOUT 900 ENVIRONMENT
                         "MIROVANE_WINE_VARIANT=en;MIROVANE_TEST_NAME=win_tests_english")
    add_test(NAME win_tests_144dpi COMMAND win_tests --gtest_color=no --gtest_filter=AnyDpi.*)
    set_tests_properties(win_tests_144dpi PROPERTIES TIMEOUT 900 ENVIRONMENT
                         "MIROVANE_WINE_VARIANT=dpi144;MIROVANE_TEST_NAME=win_tests_144dpi")
    add_test(NAME win_tests_two_monitors COMMAND win_tests --gtest_color=no
                                                 --gtest_filter=TwoMonitors.*)
    set_tests_properties(win_tests_two_monitors PROPERTIES TIMEOUT 900 ENVIRONMENT
                         "MIROVANE_WINE_VARIANT=twomon;MIROVANE_TEST_NAME=win_tests_two_monitors")
  endif()
endfunction()
