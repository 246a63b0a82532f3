#pragma once

// Ids of contactsetup's dialog templates (contact_pages.rc), their controls, its wizard picture
// and its icon; read by the resource compiler and by the dialog code. The controls whose texts
// or values the page models name carry the numbers of setup/contactsetup/control_ids.h. The
// names carry the component's own prefix: several pages reuse numbers with other meanings
// (609 is a radio button on one page and the address book on two others).

// Settings pages, in tab order.
#define IDD_CONTACT_GENERAL 1001
#define IDD_CONTACT_RESTRICTIONS 1002
#define IDD_CONTACT_CONFLICT 1003
#define IDD_CONTACT_DELETE 1004
// The wizard's page.
#define IDD_CONTACT_WIZARD_ADDRESS_BOOK 1011

#define IDB_CONTACT_WIZARD 1020
#define IDI_CONTACTSETUP 1021

// The wizard page's picture, heading and icon.
#define IDC_CONTACT_WIZARD_PICTURE 1100
#define IDC_CONTACT_WIZARD_HEADING 1101
#define IDC_CONTACT_WIZARD_ICON 1102

// General
#define IDC_CONTACT_MANUAL_LOGIN 256
#define IDC_CONTACT_LOGIN_USER 254
#define IDC_CONTACT_LOGIN_PARAMS 608
#define IDC_CONTACT_ADDRESS_BOOK 609

// Restrictions
#define IDC_CONTACT_FIELDS_INTRO 606
#define IDC_CONTACT_ALL_FIELDS 607
#define IDC_CONTACT_NAME_AND_NUMBERS 608
#define IDC_CONTACT_NAME_AND_WORK 609
#define IDC_CONTACT_NAME_WORK_AND_NOTES 610
#define IDC_CONTACT_NAME_AND_HOME 611

// Conflict Resolution
#define IDC_CONTACT_CONFLICT_GROUP 231
#define IDC_CONTACT_CONFLICT_INTRO 238
#define IDC_CONTACT_GROUPWISE_WINS 232
#define IDC_CONTACT_SMARTPHONE_WINS 233

// Delete Options
#define IDC_CONTACT_DELETE_INTRO 136
#define IDC_CONTACT_DELETE_IN_GROUPWISE 134
#define IDC_CONTACT_KEEP_IN_GROUPWISE 135

// Wizard: address book (its edit is IDC_CONTACT_ADDRESS_BOOK, as on the General page)
#define IDC_CONTACT_WIZARD_INTRO 613
