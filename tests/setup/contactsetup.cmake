# contactsetup's portable half: its values on the bytes and as a whole profile, and its page
# models.
gws_add_gtest(contactsetup_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/contact_pages_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/contact_values_test.cpp
  LIBRARIES setup_contact sim_host test_support test_block_values)
