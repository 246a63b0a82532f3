# contactsetup.dll's members through COM against hostsim.dll, and its pages under a display.
# Included by this folder's CMakeLists.txt, whose lock and hostsim fixture these tests share.
gws_add_gtest(contactsetup_methods_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/contact_methods_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/contact_setup_fixture.cpp
          ${PROJECT_SOURCE_DIR}/tests/com/window_watcher.cpp
  LIBRARIES com_test_support setup_win32 setup_contact gwsync_com sim_host)
target_include_directories(contactsetup_methods_test PRIVATE ${PROJECT_BINARY_DIR}/setup/com)
add_dependencies(contactsetup_methods_test contactsetup hostsim)
set_tests_properties(contactsetup_methods_test PROPERTIES
  FIXTURES_REQUIRED hostsim_registered RESOURCE_LOCK wine_registry TIMEOUT 300)

gws_add_gtest(contactsetup_sheet_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/contact_sheet_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/contact_setup_fixture.cpp
  LIBRARIES com_test_support setup_sheet_steps setup_win32 gwsync_com sim_host)
target_include_directories(contactsetup_sheet_test PRIVATE ${PROJECT_BINARY_DIR}/setup/com)
add_dependencies(contactsetup_sheet_test contactsetup hostsim)
# A sheet that nobody closes would hold the test for ever; fail it instead.
set_tests_properties(contactsetup_sheet_test PROPERTIES
  FIXTURES_REQUIRED hostsim_registered RESOURCE_LOCK wine_registry TIMEOUT 300)
