# Rules that turn a string table (platform/portable/string_table_library.h gives its format)
# into what a build needs of it. The table stays the one source of its texts.

# gws_string_table_rc(OUTPUT x.rc SOURCE x.strings): the table's Windows resource script, for
# a resource-only library or for the STRINGTABLE of a component's own DLL. Call it in the
# folder of the target that compiles the script.
function(gws_string_table_rc)
  cmake_parse_arguments(ARG "" "OUTPUT;SOURCE" "" ${ARGN})
  get_filename_component(folder ${ARG_SOURCE} DIRECTORY)
  add_custom_command(OUTPUT ${ARG_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${ARG_SOURCE} -DOUTPUT=${ARG_OUTPUT}
            -DBITMAP_DIR=${folder} -P ${PROJECT_SOURCE_DIR}/cmake/StringTableToRc.cmake
    DEPENDS ${ARG_SOURCE} ${PROJECT_SOURCE_DIR}/cmake/StringTableToRc.cmake
    COMMENT "Generating the resource script of ${ARG_SOURCE}")
endfunction()

# gws_string_table_cpp(OUTPUT x.cpp SOURCE x.strings HEADER a/b.h FUNCTION ns::Name): a C++
# source whose function (declared in HEADER as `std::string_view Name();`) gives the table's
# bytes, for a portable build that carries a component's table inside it as the DLL does.
function(gws_string_table_cpp)
  cmake_parse_arguments(ARG "" "OUTPUT;SOURCE;HEADER;FUNCTION" "" ${ARGN})
  add_custom_command(OUTPUT ${ARG_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${ARG_SOURCE} -DOUTPUT=${ARG_OUTPUT}
            -DHEADER=${ARG_HEADER} -DFUNCTION=${ARG_FUNCTION}
            -P ${PROJECT_SOURCE_DIR}/cmake/StringTableToCpp.cmake
    DEPENDS ${ARG_SOURCE} ${PROJECT_SOURCE_DIR}/cmake/StringTableToCpp.cmake
    COMMENT "Generating the C++ form of ${ARG_SOURCE}")
endfunction()
