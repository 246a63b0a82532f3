# setupwizard's portable half: the logon page's model and the object it stores into.
gws_add_gtest(setupwizard_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/setupwizard_logon_page_test.cpp
  LIBRARIES setup_wizard sim_host)
