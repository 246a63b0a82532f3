#pragma once

// Ids of setupwizard's dialog template (logon_pages.rc), its controls, the wizard's picture and
// the component's icon; read by the resource compiler and by the dialog code. The controls carry
// the numbers of setup/setupwizard/control_ids.h.

#define IDD_LOGON_PAGE 1011
#define IDB_LOGON_WIZARD 1020
#define IDI_SETUPWIZARD 1021

// The wizard pages' left column and heading, as on every component's wizard page.
#define IDC_LOGON_PICTURE 1100
#define IDC_LOGON_HEADING 1101
#define IDC_LOGON_ICON 1102

#define IDC_LOGON_MANUAL 6000
#define IDC_LOGON_USER 6001
#define IDC_LOGON_PARAMS 6003
#define IDC_LOGON_INTRO 6004
