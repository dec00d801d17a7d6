# The package a user gets (Windows build): Mirovane-<version>.zip in the output folder, holding the
# stripped Mirovane.exe and mirovane-cli.exe and the manual Readme.txt, and its test.
#
# The files are staged in package/Mirovane-<version>/ of the build folder. The debug information
# of both programs stays there, in .debug/<program>.debug, which gdb finds through the
# .gnu_debuglink section the stripped programs carry; it is not in the zip.

set(MIROVANE_PACKAGE_NAME "Mirovane-${PROJECT_VERSION}")
set(MIROVANE_PACKAGE_ZIP "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${MIROVANE_PACKAGE_NAME}.zip")
set(MIROVANE_PACKAGE_STAGE "${CMAKE_BINARY_DIR}/package/${MIROVANE_PACKAGE_NAME}")
set(MIROVANE_PACKAGE_README "${PROJECT_SOURCE_DIR}/res/Readme.txt")

# Strips <target>'s program into the stage and keeps its debug information in the stage's .debug.
function(_mirovane_strip_commands target out_var)
  set(exe "$<TARGET_FILE_NAME:${target}>")
  set(debug "${MIROVANE_PACKAGE_STAGE}/.debug/${exe}.debug")
  set(${out_var}
      COMMAND "${CMAKE_OBJCOPY}" --only-keep-debug "$<TARGET_FILE:${target}>" "${debug}"
      COMMAND "${CMAKE_STRIP}" --strip-all -o "${MIROVANE_PACKAGE_STAGE}/${exe}"
              "$<TARGET_FILE:${target}>"
      COMMAND "${CMAKE_OBJCOPY}" "--add-gnu-debuglink=${debug}" "${MIROVANE_PACKAGE_STAGE}/${exe}"
      PARENT_SCOPE)
endfunction()

_mirovane_strip_commands(Mirovane strip_program)
_mirovane_strip_commands(mirovane-cli strip_cli)
add_custom_command(
  OUTPUT "${MIROVANE_PACKAGE_ZIP}"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${MIROVANE_PACKAGE_STAGE}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${MIROVANE_PACKAGE_STAGE}/.debug"
  ${strip_program}
  ${strip_cli}
  COMMAND "${CMAKE_COMMAND}" -E copy "${MIROVANE_PACKAGE_README}" "${MIROVANE_PACKAGE_STAGE}/Readme.txt"
  COMMAND "${CMAKE_COMMAND}" -E rm -f "${MIROVANE_PACKAGE_ZIP}"
  COMMAND "${CMAKE_COMMAND}" -E chdir "${MIROVANE_PACKAGE_STAGE}"
          "${CMAKE_COMMAND}" -E tar cf "${MIROVANE_PACKAGE_ZIP}" --format=zip
          Mirovane.exe mirovane-cli.exe Readme.txt
  DEPENDS Mirovane mirovane-cli "${MIROVANE_PACKAGE_README}"
  COMMENT "Packing ${MIROVANE_PACKAGE_NAME}.zip"
  VERBATIM)
add_custom_target(mirovane_package ALL DEPENDS "${MIROVANE_PACKAGE_ZIP}")

# The package as a user gets it: unpacked into a fresh folder whose name has Japanese characters
# and a blank (package_unpack, which also checks the zip's contents and the stripped programs),
# then the Package.* tests of win_tests start the programs there.
if(TARGET win_tests)
  set(try_folder "${CMAKE_BINARY_DIR}/package-test/ミロヴァネ 試験")
  add_test(NAME package_unpack
           COMMAND "${CMAKE_COMMAND}" "-DZIP=${MIROVANE_PACKAGE_ZIP}" "-DFOLDER=${try_folder}"
                   "-DREADME=${MIROVANE_PACKAGE_README}" "-DOBJDUMP=${CMAKE_OBJDUMP}"
                   "-DDEBUG_FOLDER=${MIROVANE_PACKAGE_STAGE}/.debug"
                   -P "${PROJECT_SOURCE_DIR}/tests/app/unpack_package.cmake")
  set_tests_properties(package_unpack PROPERTIES FIXTURES_SETUP mirovane_package)
  add_test(NAME win_tests_package COMMAND win_tests --gtest_color=no --gtest_filter=Package.*)
  set_tests_properties(win_tests_package PROPERTIES TIMEOUT 900 FIXTURES_REQUIRED mirovane_package
                       ENVIRONMENT "MIROVANE_PACKAGE_FOLDER=${try_folder};MIROVANE_TEST_NAME=win_tests_package")
  # The other win_tests runs leave the package to this one.
  set_property(TEST win_tests APPEND PROPERTY ENVIRONMENT "GTEST_FILTER=-Package.*")
  add_dependencies(win_tests mirovane_package)
  # The test reads the version resource of the unpacked program.
  target_link_libraries(win_tests PRIVATE version)
endif()
