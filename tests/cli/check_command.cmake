# Runs one command line of a tool and checks its exit status and, byte for byte, its output.
#   -DPROGRAM=path -DARGS="arg|arg|..." -DEXPECTED_STATUS=N
#   optional: -DSTDIN=file -DEXPECTED_STDOUT=file -DSTDERR_CONTAINS=text
set(input_args)
if(DEFINED STDIN)
  set(input_args INPUT_FILE ${STDIN})
endif()
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${PROGRAM} ${args} ${input_args}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)

if(NOT status STREQUAL EXPECTED_STATUS)
  message(FATAL_ERROR "exit status ${status}, wanted ${EXPECTED_STATUS}\nstderr: ${err}")
endif()
if(DEFINED EXPECTED_STDOUT)
  file(READ ${EXPECTED_STDOUT} wanted)
  if(NOT out STREQUAL wanted)
    message(FATAL_ERROR "standard output differs from ${EXPECTED_STDOUT}:\n--- got\n${out}\n--- wanted\n${wanted}")
  endif()
endif()
if(DEFINED STDERR_CONTAINS)
  string(FIND "${err}" "${STDERR_CONTAINS}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "standard error lacks '${STDERR_CONTAINS}':\n${err}")
  endif()
endif()
