# Runs the programs of scripts/bench.sh on a few records of each corpus file, every mode once,
# so that a change of the record layer that breaks them (a corpus record refused, a built
# stream that no longer holds the records) shows here and not first when someone measures.
# -DCORPUS=<program> -DBENCH=<program> -DFOLDER=<folder for the corpus>
execute_process(COMMAND ${CORPUS} ${FOLDER} 20 RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gws_bench_corpus failed (${status}): ${errors}")
endif()
foreach(file contacts.vcf events.vcs mail.vmg)
  foreach(mode memchr lines parse keep)
    execute_process(COMMAND ${BENCH} ${mode} ${FOLDER}/${file} 0
      RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT status EQUAL 0 OR NOT output MATCHES "^mode=${mode} kind=V[A-Z]+ bytes=[0-9]+ records=20 ")
      message(FATAL_ERROR "${mode} ${file}: status ${status}, output '${output}', errors '${errors}'")
    endif()
  endforeach()
endforeach()
