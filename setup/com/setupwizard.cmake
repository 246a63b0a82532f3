# setupwizard.dll: the setup wizard component, the logon page it hands to the host's wizard and
# the IEECDIALOG members of a component without a profile. Included by this folder's
# CMakeLists.txt.
set(wizard_win32 ${PROJECT_SOURCE_DIR}/setup/win32)
gws_add_library(setup_wizard_win32 ${wizard_win32}/logon_page.cpp wizard_dialog.cpp)
target_link_libraries(setup_wizard_win32 PUBLIC setup_wizard setup_com)

gws_add_setup_module(setupwizard
  IDL setupwizard.idl
  DESCRIPTION "GroupWise setup wizard"
  STRINGS ${GWS_SETUPWIZARD_STRINGS}
  RESOURCES setup/win32/logon_resources.h setup/win32/logon_pages.rc
  RESOURCE_DEPENDS ${wizard_win32}/logon_resources.h ${wizard_win32}/logon_pages.rc
                   ${wizard_win32}/email_wizard.bmp ${wizard_win32}/setupwizard.ico
  SOURCES setupwizard_module.cpp)
target_link_libraries(setupwizard PRIVATE setup_wizard_win32)
