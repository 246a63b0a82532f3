# setupwizard.dll under Wine: its members through COM, and its logon page in the host's wizard
# under a display with the logon handed to emailsetup.dll's CommitPages against hostsim.dll.
# Included by this folder's CMakeLists.txt, whose lock and fixture it uses.
gws_add_gtest(setupwizard_com_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/setupwizard_allocations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/setupwizard_methods_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/com/window_watcher.cpp
  LIBRARIES com_test_support)
target_include_directories(setupwizard_com_test PRIVATE ${PROJECT_BINARY_DIR}/setup/com)
add_dependencies(setupwizard_com_test setupwizard)
set_tests_properties(setupwizard_com_test PROPERTIES ${lock} TIMEOUT 180)

gws_add_gtest(setupwizard_page_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/setupwizard_page_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/email_setup_fixture.cpp
  LIBRARIES com_test_support setup_sheet_steps gwsync_com sim_host)
target_include_directories(setupwizard_page_test PRIVATE ${PROJECT_BINARY_DIR}/setup/com)
add_dependencies(setupwizard_page_test setupwizard emailsetup hostsim)
# A wizard that nobody closes would hold the test for ever; fail it instead.
set_tests_properties(setupwizard_page_test PROPERTIES
  FIXTURES_REQUIRED hostsim_registered ${lock} TIMEOUT 300)
