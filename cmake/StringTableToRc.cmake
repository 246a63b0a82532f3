# Writes the Windows resource script of a string table (see
# platform/portable/string_table_library.h for the format), so that the DLL and the portable
# build read the very same texts.
#   cmake -DSOURCE=x.strings -DOUTPUT=x.rc -DBITMAP_DIR=folder -P StringTableToRc.cmake
#
# The table is read line by line with string(FIND) rather than as a CMake list: a list would
# split a text at ";" and mishandle "[" and "]". Its bytes are the ANSI code page of the
# portable build (Windows-1252) and pass through untouched; the script says so to windres.
cmake_minimum_required(VERSION 3.25)
# CMake strings end at a NUL byte, so without this check the rest of its line would vanish.
file(READ ${SOURCE} bytes HEX)
if(bytes MATCHES "^(..)*00")
  message(FATAL_ERROR "${SOURCE}: holds a NUL byte")
endif()
file(READ ${SOURCE} content)
set(strings "")
set(bitmaps "")
set(lineNumber 0)
while(NOT content STREQUAL "")
  math(EXPR lineNumber "${lineNumber} + 1")
  string(FIND "${content}" "\n" end)
  if(end EQUAL -1)
    set(line "${content}")
    set(content "")
  else()
    string(SUBSTRING "${content}" 0 ${end} line)
    math(EXPR next "${end} + 1")
    string(SUBSTRING "${content}" ${next} -1 content)
  endif()
  string(REGEX REPLACE "\r$" "" line "${line}")
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(line MATCHES "^BITMAP ([0-9]+) (.+)$")
    string(APPEND bitmaps "${CMAKE_MATCH_1} BITMAP \"${BITMAP_DIR}/${CMAKE_MATCH_2}\"\n")
  elseif(line MATCHES "^([0-9]+) (.*)$")
    set(id ${CMAKE_MATCH_1})
    set(text "${CMAKE_MATCH_2}")
    # A string table resource stores a missing string as an empty one, so the DLL could not
    # give back an empty string that the portable build would.
    if(text STREQUAL "")
      message(FATAL_ERROR "${SOURCE}:${lineNumber}: string ${id} is empty; a resource library "
                          "cannot tell an empty string from a missing one")
    endif()
    # The escapes of the table (\r \n \t \\) mean the same in a resource script, but any other
    # backslash would mean something there that it cannot mean in the table.
    string(REGEX REPLACE "\\\\[rnt\\\\]" "" unescaped "${text}")
    if(unescaped MATCHES "\\\\")
      message(FATAL_ERROR "${SOURCE}:${lineNumber}: string ${id} has an unknown escape")
    endif()
    # windres drops, without a word, every string holding a byte that Windows-1252 leaves
    # unassigned: the DLL would lack a string the portable build has.
    string(HEX "${text}" hex)
    if(hex MATCHES "^(..)*(81|8d|8f|90|9d)")
      message(FATAL_ERROR "${SOURCE}:${lineNumber}: string ${id} holds the byte "
                          "0x${CMAKE_MATCH_2}, which has no character in Windows-1252")
    endif()
    # Only the quote needs its own form in a resource script.
    string(REPLACE "\"" "\"\"" text "${text}")
    string(APPEND strings "  ${id}, \"${text}\"\n")
  else()
    message(FATAL_ERROR "${SOURCE}:${lineNumber}: cannot read the line '${line}'")
  endif()
endwhile()
file(WRITE ${OUTPUT} "// Generated from ${SOURCE}; edit that file instead.\n"
                    "#pragma code_page(1252)\n")
if(NOT strings STREQUAL "")
  file(APPEND ${OUTPUT} "STRINGTABLE\nBEGIN\n${strings}END\n")
endif()
file(APPEND ${OUTPUT} "${bitmaps}")
