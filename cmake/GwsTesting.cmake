# Test programs. Natively every GoogleTest case becomes its own CTest test; under Wine each
# program is one CTest test, because starting a Windows program costs far more than a case.
include(GoogleTest)

function(gws_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  gws_set_warnings(${name})
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30
      PROPERTIES ENVIRONMENT "GWS_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  endif()
endfunction()
