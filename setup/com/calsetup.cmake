# calsetup.dll: the calendar setup component. Included by CMakeLists.txt beside this file.

# Its Win32 half: the pages' dialog procedures and the component object over the portable half.
set(cal_win32 ${PROJECT_SOURCE_DIR}/setup/win32)
gws_add_library(setup_cal_win32
  ${cal_win32}/cal_component.cpp
  ${cal_win32}/cal_range_fields.cpp
  ${cal_win32}/cal_settings_pages.cpp
  ${cal_win32}/cal_wizard_pages.cpp
)
target_link_libraries(setup_cal_win32 PUBLIC setup_cal setup_win32)

# The wizard's picture is emailsetup's.
gws_add_setup_module(calsetup
  IDL calsetup.idl
  DESCRIPTION "GroupWise calendar setup"
  STRINGS ${GWS_CALSETUP_STRINGS}
  RESOURCES setup/win32/cal_resources.h setup/win32/cal_pages.rc
  RESOURCE_DEPENDS ${cal_win32}/cal_resources.h ${cal_win32}/cal_pages.rc
                   ${cal_win32}/email_wizard.bmp ${cal_win32}/calsetup.ico
  SOURCES calsetup_module.cpp)
target_link_libraries(calsetup PRIVATE setup_cal_win32)
