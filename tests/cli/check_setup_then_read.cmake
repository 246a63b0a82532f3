# `gwsync setup email invisible` makes a new e-mail profile that mailsync then reads mail with,
# and it is the very profile gwsync makes itself for a run without one: both come from the
# e-mail setup component's values.
#   -DPROGRAM=path -DWORK=folder (emptied first)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/by_setup ${WORK}/by_run)

function(run folder)
  execute_process(COMMAND ${PROGRAM} ${ARGN} WORKING_DIRECTORY ${WORK}/${folder}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gwsync ${ARGN} ended with exit status ${status}\nstderr: ${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run(by_setup setup email invisible --profile profile.json)
if(NOT out STREQUAL "bResult: TRUE\n")
  message(FATAL_ERROR "setup printed '${out}', not 'bResult: TRUE'")
endif()

run(by_setup --today 20010215 --profile profile.json read EMAIL)
string(FIND "${out}" "BEGIN:VMAIL" begins)
if(NOT begins EQUAL 0)
  message(FATAL_ERROR "the read with the new profile printed no mail stream:\n${out}")
endif()

run(by_run --today 20010215 --profile profile.json read EMAIL)
file(READ ${WORK}/by_setup/profile.json bySetup)
file(READ ${WORK}/by_run/profile.json byRun)
if(NOT bySetup STREQUAL byRun)
  message(FATAL_ERROR "the profile setup made differs from the one a run makes:\n"
                      "${bySetup}\n---\n${byRun}")
endif()
