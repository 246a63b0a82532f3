# `gwsync setup email invisible` makes a new e-mail profile that mailsync then reads mail with,
# and it is the very profile gwsync makes itself for a run without one: both come from the
# e-mail setup component's values.
#   -DPROGRAM=path -DWORK=folder (emptied first)
#   optional, for gwsync.exe: -DEMULATOR="cmd|arg|..." (runs PROGRAM through it)
#             -DREGISTER="dll|..." (registered with regsvr32 through EMULATOR first)
#             -DMACHINE_KEYS="key|..." (registry keys of the emulated machine removed before
#             each run and at the end: mailsync keeps its folders' identifiers there)
string(REPLACE "|" ";" emulator "${EMULATOR}")
string(REPLACE "|" ";" servers "${REGISTER}")
string(REPLACE "|" ";" machine_keys "${MACHINE_KEYS}")
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/by_setup ${WORK}/by_run)
foreach(server IN LISTS servers)
  execute_process(COMMAND ${emulator} regsvr32 /s ${server} RESULT_VARIABLE registered)
  if(NOT registered EQUAL 0)
    message(FATAL_ERROR "regsvr32 ${server} failed with status ${registered}")
  endif()
endforeach()

function(forget_machine_keys)
  foreach(key IN LISTS machine_keys)
    execute_process(COMMAND ${emulator} reg delete "${key}" /f OUTPUT_QUIET ERROR_QUIET)
  endforeach()
endfunction()

function(run folder)
  forget_machine_keys()
  execute_process(COMMAND ${emulator} ${PROGRAM} ${ARGN} WORKING_DIRECTORY ${WORK}/${folder}
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
forget_machine_keys()
file(READ ${WORK}/by_setup/profile.json bySetup)
file(READ ${WORK}/by_run/profile.json byRun)
if(NOT bySetup STREQUAL byRun)
  message(FATAL_ERROR "the profile setup made differs from the one a run makes:\n"
                      "${bySetup}\n---\n${byRun}")
endif()
