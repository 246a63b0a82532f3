# calsetup's portable half: its values field by field, its page models, its wizard page and
# its profile session against the simulated engine object.
gws_add_gtest(calsetup_tests
  SOURCES
    cal_pages_test.cpp
    cal_session_test.cpp
    cal_values_test.cpp
    cal_wizard_test.cpp
  LIBRARIES setup_cal sim_host test_support test_block_values)
