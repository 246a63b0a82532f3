#pragma once

// Ids of calsetup's dialog templates (cal_pages.rc), their controls, its wizard picture and its
// icon; read by the resource compiler and by the dialog code. The controls whose texts the page
// models give carry the numbers of setup/calsetup/control_ids.h. Every name carries CAL, so
// that a program that drives the pages of several components can include their headers side
// by side.

// Settings pages, in tab order.
#define IDD_CAL_GENERAL 1201
#define IDD_CAL_DATE_RANGE 1202
#define IDD_CAL_CONFLICT 1203
#define IDD_CAL_DELETE 1204
// The wizard's page.
#define IDD_CAL_WIZARD_RANGE 1211

#define IDB_CAL_WIZARD 1220
#define IDI_CALSETUP 1221

// The wizard page's picture, heading and icon.
#define IDC_CAL_WIZARD_PICTURE 1100
#define IDC_CAL_WIZARD_HEADING 1101
#define IDC_CAL_WIZARD_ICON 1102

// General
#define IDC_CAL_MANUAL_LOGIN 256
#define IDC_CAL_LOGIN_USER 254
#define IDC_CAL_LOGIN_PARAMS 606

// Date Range (the delete intro and check box have the wizard page's numbers)
#define IDC_CAL_RANGE_GROUP 240
#define IDC_CAL_RANGE_INTRO 239
#define IDC_CAL_PAST_COUNT 248
#define IDC_CAL_PAST_SPIN 249
#define IDC_CAL_PAST_UNIT 244
#define IDC_CAL_FUTURE_COUNT 250
#define IDC_CAL_FUTURE_SPIN 251
#define IDC_CAL_FUTURE_UNIT 246
#define IDC_CAL_DELETE_OLD_INTRO 602
#define IDC_CAL_DELETE_OLD 256

// Conflict Resolution
#define IDC_CAL_CONFLICT_GROUP 231
#define IDC_CAL_CONFLICT_INTRO 238
#define IDC_CAL_GROUPWISE_WINS 232
#define IDC_CAL_SMARTPHONE_WINS 233

// Delete Options
#define IDC_CAL_DELETE_INTRO 136
#define IDC_CAL_DELETE_IN_GROUPWISE 134
#define IDC_CAL_KEEP_IN_GROUPWISE 135

// Wizard: range
#define IDC_CAL_WIZARD_RANGE_INTRO 301
#define IDC_CAL_WIZARD_PAST_COUNT 305
#define IDC_CAL_WIZARD_PAST_SPIN 307
#define IDC_CAL_WIZARD_PAST_UNIT 303
#define IDC_CAL_WIZARD_FUTURE_COUNT 306
#define IDC_CAL_WIZARD_FUTURE_SPIN 308
#define IDC_CAL_WIZARD_FUTURE_UNIT 304
