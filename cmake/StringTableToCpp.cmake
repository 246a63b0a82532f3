# Writes a C++ source that gives the bytes of a string table, unchanged:
#   cmake -DSOURCE=x.strings -DOUTPUT=x.cpp -DHEADER=a/b.h -DFUNCTION=ns::Name
#     -P StringTableToCpp.cmake
# Every byte is written as a hex escape, so no byte of the table (a quote, a backslash, one of
# Windows-1252's upper half) can mean anything else to the compiler.
cmake_minimum_required(VERSION 3.25)
file(READ ${SOURCE} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX MATCH "^(.*)::([^:]+)$" qualified "${FUNCTION}")
if(NOT qualified)
  message(FATAL_ERROR "FUNCTION must name its namespace: ${FUNCTION}")
endif()
set(namespace ${CMAKE_MATCH_1})
set(name ${CMAKE_MATCH_2})
# 32 bytes a line.
set(lines "")
set(at 0)
while(at LESS digits)
  string(SUBSTRING "${hex}" ${at} 64 chunk)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" chunk "${chunk}")
  string(APPEND lines "      \"${chunk}\"\n")
  math(EXPR at "${at} + 64")
endwhile()
file(WRITE ${OUTPUT} "// Generated from ${SOURCE}; edit that file instead.\n"
                    "#include \"${HEADER}\"\n\n"
                    "namespace ${namespace} {\n\n"
                    "std::string_view ${name}() {\n"
                    "  static constexpr char kBytes[] =\n${lines}"
                    "      \"\";\n"
                    "  return std::string_view(kBytes, ${size});\n"
                    "}\n\n"
                    "}  // namespace ${namespace}\n")
