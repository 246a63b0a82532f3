#pragma once

// The three pages emailsetup hands to the host's setup wizard (AddPages, in this order) as
// models: the device's mail account (CWizAccount), the mail range (CWizRange) and the size
// limit (CWizSize). Each starts from fixed values, not from the profile, and stores into the
// blocks when the user presses Next; CommitPages writes them (profile_session.h).
//
// How a Win32 dialog procedure uses them: WM_INITDIALOG sets StaticTexts() and calls Start();
// PSN_SETACTIVE sets the wizard's buttons from Buttons() (PSWIZB_BACK, with PSWIZB_NEXT for
// kBackAndNext); EN_CHANGE of a field passes its text on (the account page's buttons follow
// its text); PSN_WIZNEXT moves the controls' values into the model and calls Next().

#include <string>
#include <vector>

#include "setup/common/page_model.h"
#include "setup/common/range_edit.h"
#include "setup/emailsetup/email_setup.h"
#include "setup/emailsetup/mail_range.h"

namespace setup::email {

class CWizAccount : public PageModel {
 public:
  explicit CWizAccount(EmailSetup& setup) : setup_(setup) {}

  std::vector<ControlText> StaticTexts() const;
  // The edit (273) starts with the default account name; the stored one is not shown.
  void Start();
  // Back and Next while the account name is not empty, Back only while it is.
  WizardButtons Buttons() const;
  // 273's text changed: the buttons to show.
  WizardButtons AccountChanged(std::u16string text);
  // Going back re-enables both buttons.
  WizardButtons Back() const { return WizardButtons::kBackAndNext; }
  // DeviceAccount takes the name with " (PC mail)", cut to the field; nothing is asked.
  void Next();

  std::u16string account;

 private:
  EmailSetup& setup_;
};

class CWizRange : public PageModel {
 public:
  explicit CWizRange(EmailSetup& setup) : range(setup.Session()), setup_(setup) {}

  std::vector<ControlText> StaticTexts() const;
  // Three days (306, 254), older mail deleted (706).
  void Start();
  WizardButtons Buttons() const { return WizardButtons::kBackAndNext; }
  CRangeEdit::Update CountChanged(std::u16string_view text, platform::WindowHandle owner) {
    return range.count.TextChanged(text, Initialised(), owner);
  }
  // The range and the deletion as the Date Range page stores them, but RangeChanged stays.
  void Next();

  MailRangeControls range;

 private:
  EmailSetup& setup_;
};

class CWizSize : public PageModel {
 public:
  explicit CWizSize(EmailSetup& setup);

  std::vector<ControlText> StaticTexts() const;
  // 10 KB (313, 1 to 50), attachments off.
  void Start();
  WizardButtons Buttons() const { return WizardButtons::kBackAndNext; }
  // 202 and 203 only while 704 is checked.
  bool SupportedOnlyEnabled() const { return attachments; }
  CRangeEdit::Update SizeChanged(std::u16string_view text, platform::WindowHandle owner) {
    return size.TextChanged(text, Initialised(), owner);
  }
  // MemoLimit, MailNoAttachments and SupportedOnly, whatever they held.
  void Next();

  CRangeEdit size;
  bool attachments = false;    // 704
  bool supportedOnly = false;  // 202

 private:
  EmailSetup& setup_;
};

}  // namespace setup::email
