# calsetup.dll's members through COM against hostsim.dll, and its pages under a display.
# Included by CMakeLists.txt beside this file, which sets `lock`.
gws_add_gtest(calsetup_methods_test
  SOURCES cal_methods_test.cpp cal_setup_fixture.cpp
          ${PROJECT_SOURCE_DIR}/tests/com/window_watcher.cpp
  LIBRARIES com_test_support setup_cal setup_win32 gwsync_com sim_host)
target_include_directories(calsetup_methods_test PRIVATE ${PROJECT_BINARY_DIR}/setup/com)
add_dependencies(calsetup_methods_test calsetup hostsim)
set_tests_properties(calsetup_methods_test PROPERTIES
  FIXTURES_REQUIRED hostsim_registered ${lock} TIMEOUT 300)

gws_add_gtest(calsetup_sheet_test
  SOURCES cal_sheet_test.cpp cal_setup_fixture.cpp
  LIBRARIES com_test_support setup_sheet_steps setup_win32 gwsync_com sim_host)
target_include_directories(calsetup_sheet_test PRIVATE ${PROJECT_BINARY_DIR}/setup/com)
add_dependencies(calsetup_sheet_test calsetup hostsim)
# A sheet that nobody closes would hold the test for ever; fail it instead.
set_tests_properties(calsetup_sheet_test PROPERTIES
  FIXTURES_REQUIRED hostsim_registered ${lock} TIMEOUT 300)
