# Runs mirovane-cli (through the cross-compiling emulator when there is one) with the arguments
# of a case file and compares its standard output byte for byte with the case's expected text,
# and its standard error too when the case gives one.
#   cmake -DEXE=<cli> -DEMULATOR=<runner or empty> -DCASE=<case.cmake> -P run_and_compare.cmake
include("${CASE}")  # sets CLI_ARGS, CLI_EXPECTED and optionally CLI_STATUS and CLI_EXPECTED_ERR
if(NOT DEFINED CLI_STATUS)
  set(CLI_STATUS 0)
endif()
execute_process(COMMAND ${EMULATOR} "${EXE}" ${CLI_ARGS}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL CLI_STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${CLI_STATUS}\nstderr: ${err}")
endif()
if(NOT out STREQUAL CLI_EXPECTED)
  message(FATAL_ERROR "output differs\n--- got ---\n${out}\n--- expected ---\n${CLI_EXPECTED}")
endif()
if(DEFINED CLI_EXPECTED_ERR AND NOT err STREQUAL CLI_EXPECTED_ERR)
  message(FATAL_ERROR "stderr differs\n--- got ---\n${err}\n--- expected ---\n${CLI_EXPECTED_ERR}")
endif()
message(STATUS "ok: ${CASE}")
