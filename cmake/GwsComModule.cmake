# An in-process COM server DLL of the suite: NAME.dll from its .idl (a type library embedded as
# TYPELIB 1, and the C++ declarations of its interface), a resource script made from
# comserver/module.rc.in with the module's own resources included, a version resource, and the
# exports the .def names by plain name.
#   gws_add_com_module(NAME IDL x.idl DEF x.def DESCRIPTION "..."
#                      IDL_DEPENDS ... RESOURCES a.rc ... RESOURCE_DEPENDS ...
#                      SOURCES ... LIBRARIES ...)
# RESOURCES are #included into the module's script, by path from the project's folder or as
# absolute paths; the script is compiled with the project's and the module's build folders on
# the include path.
set(GWS_WIDL_FLAGS --win32 -I/usr/include/wine/wine/windows
    -L/usr/lib/i386-linux-gnu/wine/i386-windows)
set(GWS_MODULE_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/../comserver/module.rc.in)

function(gws_add_com_module name)
  cmake_parse_arguments(ARG "" "IDL;DEF;DESCRIPTION"
                        "IDL_DEPENDS;RESOURCES;RESOURCE_DEPENDS;SOURCES;LIBRARIES" ${ARGN})
  set(idl ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_IDL})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name})
  add_custom_command(OUTPUT ${out}.tlb ${out}_idl.h
    COMMAND ${GWS_WIDL} ${GWS_WIDL_FLAGS} -I${CMAKE_CURRENT_SOURCE_DIR} -t -o ${out}.tlb ${idl}
    COMMAND ${GWS_WIDL} ${GWS_WIDL_FLAGS} -I${CMAKE_CURRENT_SOURCE_DIR} -h -o ${out}_idl.h ${idl}
    DEPENDS ${idl} ${ARG_IDL_DEPENDS}
    COMMENT "Compiling the type library of ${name}")

  set(GWS_MODULE_NAME ${name})
  set(GWS_MODULE_TLB ${out}.tlb)
  set(GWS_MODULE_DESCRIPTION ${ARG_DESCRIPTION})
  set(GWS_MODULE_INCLUDES "")
  foreach(resource ${ARG_RESOURCES})
    string(APPEND GWS_MODULE_INCLUDES "#include \"${resource}\"\n")
  endforeach()
  configure_file(${GWS_MODULE_RC_TEMPLATE} ${out}.rc @ONLY)
  set_property(SOURCE ${out}.rc APPEND PROPERTY OBJECT_DEPENDS ${out}.tlb ${ARG_RESOURCE_DEPENDS})

  add_library(${name} SHARED ${ARG_SOURCES} ${out}_idl.h ${out}.rc ${ARG_DEF})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  # The .def names the exports plainly; the linker matches them to the decorated __stdcall
  # symbols (DllGetClassObject@12) without a warning for each.
  target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup)
  gws_set_warnings(${name})
endfunction()
