# Whole runs of gwsync whose standard output and store file must equal the golden files of
# tests/data/gwsync byte for byte. The native CLI tests and the Wine cross-check (gwsync.exe
# with the COM plug-in and gwsim.dll) run this one table, so both builds give the same bytes.
#
#   gws_add_golden_runs(PREFIX name PROGRAM path [EMULATOR cmd...] [REGISTER dll...]
#                       [PROPERTIES prop value...])
# REGISTER: COM servers each run registers first (through the emulator).
#
# Through an emulator the machine is the Wine prefix's own registry, and gwsync.exe has no
# --registry: a row's registry file is written into that registry before the run instead. The
# keys the mail plug-in keeps between runs are removed before and after each of its runs, so
# that every run starts from what the native run starts from (its file, or an empty registry),
# whatever ran before it in the prefix.

set(GWS_CHECK_COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_command.cmake)
# Where the mail plug-in keeps its folders' ids and reads the handheld's attachment types.
set(GWS_MAIL_REGISTRY_KEYS "HKEY_CURRENT_USER\\Software\\Corvenda Corporation")

# One row: the test's name, the store before (none: the sample mailbox), the arguments after
# --store, the standard output and the store after the run, both files of tests/data/gwsync.
# Reads the caller's variables ARG_*, data, work and machine_keys (the registry keys the run
# keeps, see above).
# NEW_GUIDS: the run makes contact identifiers, which the golden files show as {NEW-GUID}.
# REGISTRY: the machine's registry file the run starts from (a copy, which the run may change).
# BINARY: the output holds bytes of every value (attachments) and is compared as a file.
function(_gws_golden_run name)
  cmake_parse_arguments(RUN "NEW_GUIDS;BINARY" "BEFORE;STDOUT;AFTER;REGISTRY" "ARGS" ${ARGN})
  set(args ${RUN_ARGS})
  set(defs -DPROGRAM=${ARG_PROGRAM} -DEXPECTED_STATUS=0 -DEXPECTED_STDOUT=${data}/${RUN_STDOUT})
  if(RUN_BINARY)
    file(MAKE_DIRECTORY ${work})
    list(APPEND defs -DSTDOUT_FILE=${work}/${name}.out)
  endif()
  if(RUN_NEW_GUIDS)
    list(APPEND defs -DNEW_GUIDS=1)
  endif()
  if(RUN_BEFORE)
    set(store ${work}/${name}.json)
    list(PREPEND args --store ${store})
    list(APPEND defs -DSTORE_FROM=${data}/${RUN_BEFORE} -DSTORE=${store}
                     -DEXPECTED_STORE=${data}/${RUN_AFTER})
  endif()
  if(RUN_REGISTRY AND ARG_EMULATOR)
    list(APPEND defs -DMACHINE_REGISTRY=${data}/${RUN_REGISTRY})
  elseif(RUN_REGISTRY)
    set(registry ${work}/${name}.registry.json)
    list(PREPEND args --registry ${registry})
    list(APPEND defs -DREGISTRY_FROM=${data}/${RUN_REGISTRY} -DREGISTRY=${registry})
  endif()
  # Lists travel "|"-separated: a ";" list would be split up on its way to the script.
  list(JOIN args "|" joined)
  list(JOIN ARG_EMULATOR "|" emulator)
  list(JOIN ARG_REGISTER "|" servers)
  if(ARG_EMULATOR AND machine_keys)
    list(JOIN machine_keys "|" keys)
    list(APPEND defs "-DMACHINE_KEYS=${keys}")
  endif()
  add_test(NAME ${ARG_PREFIX}.${name}
           COMMAND ${CMAKE_COMMAND} ${defs} "-DARGS=${joined}" "-DEMULATOR=${emulator}"
                   "-DREGISTER=${servers}" -P ${GWS_CHECK_COMMAND})
  if(ARG_PROPERTIES)
    set_tests_properties(${ARG_PREFIX}.${name} PROPERTIES ${ARG_PROPERTIES})
  endif()
endfunction()

# WITHOUT_MAIL: leaves out the runs of the mail plug-in.
function(gws_add_golden_runs)
  cmake_parse_arguments(ARG "WITHOUT_MAIL" "PREFIX;PROGRAM" "EMULATOR;REGISTER;PROPERTIES" ${ARGN})
  set(data ${PROJECT_SOURCE_DIR}/tests/data/gwsync)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/golden_runs)
  # The week of 12 February 2001 in the mailbox of data/gwsync, with a profile that logs in by
  # name (block C).
  set(week --profile ${data}/profile.json --today 20010215 --range 20010212 20010218)

  _gws_golden_run(read_apt BEFORE mailbox.json ARGS ${week} read APT
    STDOUT read_apt.out AFTER mailbox.json)
  _gws_golden_run(insert_apt BEFORE mailbox.json ARGS ${week} write APT insert ${data}/insert.vcs
    STDOUT insert_apt.out AFTER after_insert.json)
  _gws_golden_run(modify_apt BEFORE mailbox.json ARGS ${week} write APT modify ${data}/modify.vcs
    STDOUT modify_apt.out AFTER after_modify.json)
  # A delete writes the record back as it came.
  _gws_golden_run(delete_apt BEFORE mailbox.json ARGS ${week} write APT delete ${data}/delete.vcs
    STDOUT delete.vcs AFTER after_delete.json)
  # The sample mailbox around --today, in the new profile's range (a month back, six ahead).
  _gws_golden_run(sample_read_apt ARGS --today 20010215 read APT STDOUT sample_read_apt.out)
  # A range before 1601, which Windows will not format in the user's date format: the run
  # goes on with the dates in ISO form.
  _gws_golden_run(early_range_read_apt ARGS --today 20010215 --range 15000101 15000201 read APT
    STDOUT empty_read_apt.out)
  # Tasks of the week (TODO): one completed, one another user assigned, whose change keeps all
  # but its completion (the rejection goes to the host's log), one assigned after the week, not
  # read; the added task is assigned years ahead, since a task assigned in the past starts
  # "today", and the plug-in DLL keeps the machine's clock, which --today does not set. Notes of the
  # week (EVE), one from another user; a note added with a time of day and an end on another
  # day is kept by its first day, without a place.
  foreach(kind todo eve)
    string(TOUPPER ${kind} type)
    _gws_golden_run(read_${kind} BEFORE mailbox.json ARGS ${week} read ${type}
      STDOUT read_${kind}.out AFTER mailbox.json)
    foreach(op insert modify)
      _gws_golden_run(${op}_${kind} BEFORE mailbox.json
        ARGS ${week} write ${type} ${op} ${data}/${op}_${kind}.vcs STDOUT ${op}_${kind}.out
        AFTER after_${op}_${kind}.json)
    endforeach()
    _gws_golden_run(delete_${kind} BEFORE mailbox.json
      ARGS ${week} write ${type} delete ${data}/delete_${kind}.vcs STDOUT delete_${kind}.vcs
      AFTER after_delete_${kind}.json)
    _gws_golden_run(sample_read_${kind} ARGS --today 20010215 read ${type}
      STDOUT sample_read_${kind}.out)
  endforeach()
  # Contacts of the book "Synch" (the profile says SYNCH): an entry without an identity and one
  # with an empty identity are given new ones; a device contact in Greek is added, one changed
  # under its identity in lower case, one deleted.
  _gws_golden_run(read_con NEW_GUIDS BEFORE mailbox.json ARGS ${week} read CON
    STDOUT read_con.out AFTER after_read_con.json)
  _gws_golden_run(insert_con NEW_GUIDS BEFORE mailbox.json
    ARGS ${week} write CON insert ${data}/insert.vcf STDOUT insert_con.out AFTER after_insert_con.json)
  _gws_golden_run(modify_con BEFORE mailbox.json ARGS ${week} write CON modify ${data}/modify.vcf
    STDOUT modify_con.out AFTER after_modify_con.json)
  _gws_golden_run(delete_con BEFORE mailbox.json ARGS ${week} write CON delete ${data}/delete.vcf
    STDOUT delete.vcf AFTER after_delete_con.json)
  _gws_golden_run(sample_read_con NEW_GUIDS ARGS --today 20010215 read CON
    STDOUT sample_read_con.out)
  if(NOT ARG_WITHOUT_MAIL)
    # The mail of the same week with the attachments (mail.json), read with a profile that
    # takes the inbox, the sent folder and every attachment: file attachments byte for byte
    # (names with folders and characters Windows refuses among them), forwarded mail and an
    # appointment rendered as text, a phone message, Greek text; one mail of the week before
    # is not read. The plug-in's folders are found by the ids in the registry file, and every
    # message keeps its read state, so the store is unchanged.
    set(mail_week --profile ${data}/mail_profile.json --today 20010215 --range 20010212 20010218)
    set(machine_keys ${GWS_MAIL_REGISTRY_KEYS})
    _gws_golden_run(read_email BINARY BEFORE mail.json REGISTRY mail_registry.json
      ARGS ${mail_week} read EMAIL STDOUT read_email.out AFTER mail.json)
    # A mail written on the device: sent to the address GroupWise knows (the unknown one goes
    # to the host's log), with its attachment, filed in the plug-in's sent folder and returned
    # with its new identity; a change of read state, priority and attachments (one removed by
    # its name in other letters, one added); a delete, which moves the mail into the plug-in's
    # deleted folder and writes the record back as it came.
    foreach(op insert modify)
      _gws_golden_run(${op}_email BINARY BEFORE mail.json REGISTRY mail_registry.json
        ARGS ${mail_week} write EMAIL ${op} ${data}/${op}.vmg STDOUT ${op}_email.out
        AFTER after_${op}_email.json)
    endforeach()
    _gws_golden_run(delete_email BINARY BEFORE mail.json REGISTRY mail_registry.json
      ARGS ${mail_week} write EMAIL delete ${data}/delete.vmg STDOUT delete.vmg
      AFTER after_delete_email.json)
    # One run of the host over the mail: a read, the device's mail sent, a read that finds it
    # in the plug-in's sent folder.
    _gws_golden_run(run_email BINARY BEFORE mail.json REGISTRY mail_registry.json
      ARGS ${mail_week} run ${data}/mail.gws STDOUT run_email.out AFTER after_insert_email.json)
    # A first run on this computer: no folder ids, no folder of the proposed name; the folder
    # name typed into the dialog names the three folders made, whose new sent folder is empty.
    _gws_golden_run(first_read_email BINARY BEFORE mail.json
      ARGS ${mail_week} --folder-name Handheld read EMAIL STDOUT first_read_email.out
      AFTER after_first_read_email.json)
  endif()
  # What the plug-in learns of a computer without the host suite's settings: its resource
  # libraries beside its module, found (on Windows) where COM loads it from.
  _gws_golden_run(session ARGS session STDOUT session.out)
endfunction()
