#pragma once

// Ids of emailsetup's dialog templates (email_pages.rc), their controls, its wizard picture and
// its icon; read by the resource compiler and by the dialog code. The controls whose texts the
// page models give carry the numbers of setup/emailsetup/control_ids.h.

// Settings pages, in tab order.
#define IDD_EMAIL_GENERAL 1001
#define IDD_EMAIL_DATE_RANGE 1002
#define IDD_EMAIL_RESTRICTIONS 1003
#define IDD_EMAIL_CONFLICT 1004
#define IDD_EMAIL_DELETE 1005
// Wizard pages, in the order they are handed over.
#define IDD_EMAIL_WIZARD_ACCOUNT 1011
#define IDD_EMAIL_WIZARD_RANGE 1012
#define IDD_EMAIL_WIZARD_SIZE 1013

#define IDB_EMAIL_WIZARD 1020
#define IDI_EMAILSETUP 1021

// Every wizard page: its picture, heading and icon.
#define IDC_WIZARD_PICTURE 1100
#define IDC_WIZARD_HEADING 1101
#define IDC_WIZARD_ICON 1102

// General
#define IDC_MANUAL_LOGIN 708
#define IDC_LOGIN_USER 305
#define IDC_LOGIN_PARAMS 709
#define IDC_INBOX_OVERRIDE 710
#define IDC_INBOX_FOLDER_NAME 711
#define IDC_PICK_FOLDER 712
#define IDC_SMARTPHONE_GROUP 267
#define IDC_ACCOUNT_INTRO 245
#define IDC_ACCOUNT_LABEL 232
#define IDC_ACCOUNT 238

// Date Range, and the wizard's range page
#define IDC_RANGE_GROUP 250
#define IDC_RANGE_INTRO 249
#define IDC_RANGE_COUNT 258
#define IDC_RANGE_SPIN 259
#define IDC_RANGE_UNIT 255
#define IDC_DELETE_OLD_INTRO 705
#define IDC_DELETE_OLD 706

// Restrictions
#define IDC_SIZE_GROUP 261
#define IDC_SIZE_INTRO 251
#define IDC_SIZE_LIMIT 263
#define IDC_SIZE_SPIN 264
#define IDC_ATTACHMENTS 265
#define IDC_SUPPORTED_ONLY 201
#define IDC_FOLDERS_GROUP 240
#define IDC_FOLDERS_INTRO 266
#define IDC_INBOX_AND_OUTBOX 241
#define IDC_ALL_FOLDERS 242

// Conflict Resolution (its group box and buttons have the numbers of Restrictions' folders)
#define IDC_CONFLICT_GROUP 240
#define IDC_CONFLICT_INTRO 248
#define IDC_GROUPWISE_WINS 241
#define IDC_SMARTPHONE_WINS 242

// Delete Options
#define IDC_DELETE_INTRO 140
#define IDC_DELETE_IN_GROUPWISE 138
#define IDC_KEEP_IN_GROUPWISE 139

// Wizard: account
#define IDC_WIZARD_ACCOUNT_INTRO 270
#define IDC_WIZARD_ACCOUNT_USE 271
#define IDC_WIZARD_ACCOUNT 273
// Wizard: range
#define IDC_WIZARD_RANGE_INTRO 301
#define IDC_WIZARD_RANGE_COUNT 306
#define IDC_WIZARD_RANGE_SPIN 308
#define IDC_WIZARD_RANGE_UNIT 254
// Wizard: size
#define IDC_WIZARD_SIZE_INTRO 311
#define IDC_WIZARD_SIZE 313
#define IDC_WIZARD_SIZE_SPIN 314
#define IDC_WIZARD_ATTACHMENTS 704
#define IDC_WIZARD_SUPPORTED_ONLY 202
#define IDC_WIZARD_VIEWABLE 203
