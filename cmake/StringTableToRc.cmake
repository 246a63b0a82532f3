# Writes the Windows resource script of a string table (see
# platform/portable/string_table_library.h for the format), so that the DLL and the portable
# build read the very same texts.
#   cmake -DSOURCE=x.strings -DOUTPUT=x.rc -DBITMAP_DIR=folder -P StringTableToRc.cmake
file(STRINGS ${SOURCE} lines ENCODING UTF-8)
set(strings "")
set(bitmaps "")
foreach(line IN LISTS lines)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(line MATCHES "^BITMAP ([0-9]+) (.+)$")
    string(APPEND bitmaps "${CMAKE_MATCH_1} BITMAP \"${BITMAP_DIR}/${CMAKE_MATCH_2}\"\n")
  elseif(line MATCHES "^([0-9]+) (.*)$")
    set(id ${CMAKE_MATCH_1})
    set(text "${CMAKE_MATCH_2}")
    # The escapes of the table (\r \n \t \\) mean the same in a resource script; only the
    # quote needs its own form there.
    string(REPLACE "\"" "\"\"" text "${text}")
    string(APPEND strings "  ${id}, \"${text}\"\n")
  else()
    message(FATAL_ERROR "${SOURCE}: cannot read the line '${line}'")
  endif()
endforeach()
file(WRITE ${OUTPUT} "// Generated from ${SOURCE}; edit that file instead.\n")
if(NOT strings STREQUAL "")
  file(APPEND ${OUTPUT} "STRINGTABLE\nBEGIN\n${strings}END\n")
endif()
file(APPEND ${OUTPUT} "${bitmaps}")
