# Warnings are errors on every compiler the project builds with.
function(gws_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Adds a library of the product: C++20, warnings as errors, its folder's parent on the include
# path so headers are included as "framework/entry.h".
function(gws_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  gws_set_warnings(${name})
endfunction()
