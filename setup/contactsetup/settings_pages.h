#pragma once

// The four pages of contactsetup's Settings sheet as models: General (CGroupWiseProfile),
// Restrictions (CRestrictions), Conflict Resolution (CConflictPage) and Delete Options
// (CDeleteOptions). A Win32 dialog procedure uses them as setup/emailsetup/settings_pages.h
// describes: fill on WM_INITDIALOG, move a clicked control's value into the model and refresh
// the enable rules on WM_COMMAND, accept on PSN_APPLY. None of these pages refuses OK.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/common/page_model.h"
#include "setup/common/rule_pages.h"
#include "setup/contactsetup/contact_setup.h"
#include "setup/contactsetup/control_ids.h"

namespace setup::contact {

// General: the login, and the GroupWise address book pimsync synchronizes with.
class CGroupWiseProfile : public PageModel {
 public:
  struct Controls {
    bool manualLogin = false;    // 256
    std::u16string user;         // 254
    std::u16string params;       // 608
    std::u16string addressBook;  // 609
  };

  explicit CGroupWiseProfile(ContactSetup& setup) : setup_(setup) {}

  // Everything as stored; an empty address book stays empty (pimsync reads it as the default).
  void Fill();
  // 254 and 608; the address book is always open to typing.
  bool UserAndParamsEnabled() const { return controls.manualLogin; }
  // The check box and the three texts, each cut to its field.
  void Accept();

  Controls controls;

 private:
  ContactSetup& setup_;
};

// Restrictions: which groups of contact fields the host synchronizes (ContactFieldGroups).
class CRestrictions : public PageModel {
 public:
  struct FieldGroup {
    int buttonId;
    uint32_t value;
  };
  // The radio buttons in the order Accept looks at them. The last one, "Name and home details",
  // is hidden: a stored 27 is shown with no button selected, so that it can still be kept.
  static constexpr std::array<FieldGroup, 5> kFieldGroups = {{
      {control::kAllFields, 0},
      {control::kNameAndNumbers, 551},
      {control::kNameAndWork, 4069},
      {control::kNameWorkAndNotes, 8165},
      {control::kNameAndHome, 27},
  }};

  explicit CRestrictions(ContactSetup& setup) : setup_(setup) {}

  std::vector<ControlText> StaticTexts() const;
  // Checks the one visible button whose value is stored; none for 27 or a value no button has.
  void Fill();
  // The first checked button's value; with none checked the stored value stays.
  void Accept();

  // By kFieldGroups' order.
  std::array<bool, kFieldGroups.size()> checked{};

 private:
  ContactSetup& setup_;
};

// Conflict Resolution.
class CConflictPage : public ConflictPage {
 public:
  explicit CConflictPage(ContactSetup& setup)
      : ConflictPage(setup.Session(), {control::kConflictIntro, string_id::kConflictIntro,
                                       string_id::kConflictIntroEnd}) {}
};

// Delete Options: what a deletion on the device does in GroupWise (kept: 135, else 134).
class CDeleteOptions : public DeleteOptionsPage {
 public:
  explicit CDeleteOptions(ContactSetup& setup)
      : DeleteOptionsPage(
            setup.Session(),
            {control::kDeleteIntro, string_id::kDeleteIntro, string_id::kDeleteIntroEnd},
            kContactTypeBit) {}
};

}  // namespace setup::contact
