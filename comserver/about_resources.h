#pragma once

// Ids of the about dialog's template (about_dialog.rc) and its controls; read by the resource
// compiler and by the dialog code.

#define IDD_ABOUT_PLUGIN 200
#define IDC_ABOUT_TITLE 201
#define IDC_ABOUT_VERSION 202
#define IDC_ABOUT_INFO 203
#define IDC_ABOUT_PICTURE 204
