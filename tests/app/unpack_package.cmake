# Unpacks the package into a fresh folder, as a user would, for the Package.* tests of win_tests,
# and checks what it holds: exactly Mirovane.exe, mirovane-cli.exe and Readme.txt (the manual,
# byte for byte), both programs stripped of their debug information and linked to the separate
# debug file the build keeps, which holds it.
#   cmake -DZIP=<zip> -DFOLDER=<fresh folder> -DREADME=<res/Readme.txt> -DOBJDUMP=<objdump>
#         -DDEBUG_FOLDER=<folder of the debug files> -P unpack_package.cmake
cmake_minimum_required(VERSION 3.25)
foreach(var ZIP FOLDER README OBJDUMP DEBUG_FOLDER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

execute_process(COMMAND "${CMAKE_COMMAND}" -E tar tf "${ZIP}" OUTPUT_VARIABLE listing
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot list ${ZIP}")
endif()
string(REPLACE "\n" ";" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "^$")
list(SORT entries)
if(NOT entries STREQUAL "Mirovane.exe;Readme.txt;mirovane-cli.exe")
  message(FATAL_ERROR "the zip holds \"${entries}\"")
endif()

file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${ZIP}" WORKING_DIRECTORY "${FOLDER}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${ZIP} into ${FOLDER}")
endif()

file(SHA256 "${README}" want)
file(SHA256 "${FOLDER}/Readme.txt" got)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "Readme.txt in the zip is not ${README}")
endif()

# The section names of a program or debug file.
function(sections file out_var)
  execute_process(COMMAND "${OBJDUMP}" -h "${file}" OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "objdump cannot read ${file}")
  endif()
  string(REGEX MATCHALL "\n *[0-9]+ ([.a-z_]+)" names "${text}")
  string(REGEX REPLACE "\n *[0-9]+ " "" names "${names}")
  set(${out_var} "${names}" PARENT_SCOPE)
endfunction()

foreach(exe Mirovane.exe mirovane-cli.exe)
  sections("${FOLDER}/${exe}" names)
  if(NOT ".text" IN_LIST names OR NOT ".gnu_debuglink" IN_LIST names)
    message(FATAL_ERROR "${exe}: sections ${names}, expected .text and .gnu_debuglink")
  endif()
  if(names MATCHES "\\.debug_")
    message(FATAL_ERROR "${exe} still holds debug information: ${names}")
  endif()
  sections("${DEBUG_FOLDER}/${exe}.debug" names)
  if(NOT ".debug_info" IN_LIST names OR NOT ".debug_line" IN_LIST names)
    message(FATAL_ERROR "${DEBUG_FOLDER}/${exe}.debug: no debug information (${names})")
  endif()
endforeach()
message(STATUS "unpacked into ${FOLDER}")
