# contactsetup.dll: the contacts setup component's Win32 half (its component object and pages)
# and its COM server. Included by this folder's CMakeLists.txt.
set(contact_win32 ${PROJECT_SOURCE_DIR}/setup/win32)
gws_add_library(setup_contact_win32
  ${contact_win32}/contact_component.cpp
  ${contact_win32}/contact_settings_pages.cpp
  ${contact_win32}/contact_wizard_pages.cpp
)
target_link_libraries(setup_contact_win32 PUBLIC setup_win32 setup_contact)

gws_add_setup_module(contactsetup
  IDL contactsetup.idl
  DESCRIPTION "GroupWise contacts setup"
  STRINGS ${GWS_CONTACTSETUP_STRINGS}
  RESOURCES setup/win32/contact_resources.h setup/win32/contact_pages.rc
  RESOURCE_DEPENDS ${contact_win32}/contact_resources.h ${contact_win32}/contact_pages.rc
                   ${contact_win32}/email_wizard.bmp ${contact_win32}/contactsetup.ico
  SOURCES contactsetup_module.cpp)
target_link_libraries(contactsetup PRIVATE setup_contact_win32)
