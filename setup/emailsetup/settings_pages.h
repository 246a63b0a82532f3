#pragma once

// The five pages of emailsetup's Settings sheet as models: General (CProfilePage), Date Range
// (CDatePage), Restrictions (CEmFoldersPage), Conflict Resolution (CConflictPage) and Delete
// Options (CDeleteOptions).
//
// How a Win32 dialog procedure uses a page model:
//   WM_INITDIALOG   set StaticTexts() into their controls; Fill(); move `controls` into the
//                   dialog's controls and apply the enable rules (...Enabled())
//   WM_COMMAND      a click or a change: move that control's value into `controls` (a number
//                   field through its CRangeEdit's TextChanged, applying the update it returns),
//                   then refresh what depends on it (the enable rules, the delete caption)
//   PSN_APPLY       Accept(page window): false refuses OK (PSNRET_INVALID, which brings the
//                   page back) and the sheet stays open on the page
// A page that was never shown is never filled, and its Accept writes nothing. Message boxes go
// through the component's UserInterface, owned by the window handed in.

#include <string>
#include <vector>

#include "platform/user_interface.h"
#include "setup/common/page_model.h"
#include "setup/common/range_edit.h"
#include "setup/common/rule_pages.h"
#include "setup/emailsetup/control_ids.h"
#include "setup/emailsetup/email_setup.h"
#include "setup/emailsetup/mail_range.h"

namespace setup::email {

// General: the login, the folder mailsync reads instead of the inbox, and the device's mail
// account.
class CProfilePage : public PageModel {
 public:
  struct Controls {
    bool manualLogin = false;    // 708
    std::u16string user;         // 305
    std::u16string params;       // 709
    bool inboxOverride = false;  // 710
    std::u16string folderName;   // 711, read-only
    std::u16string folderId;     // held by the page, not shown
    std::u16string account;      // 238, without " (PC mail)"
  };

  explicit CProfilePage(EmailSetup& setup) : setup_(setup) {}

  std::vector<ControlText> StaticTexts() const;
  // A new profile shows the default account name; any other the stored one without its
  // suffix (whole when it has none). Everything else as stored.
  void Fill();
  bool UserAndParamsEnabled() const { return controls.manualLogin; }  // 305, 709
  bool FolderEnabled() const { return controls.inboxOverride; }       // 711, 712

  // The "..." button (712): the folder picker, logged in with the user name and parameters
  // the page was filled with. True when a folder was chosen: its identifier and name are held,
  // 710 is checked, and the shell refreshes the controls. Failures show their message and
  // change nothing.
  bool PickFolder(platform::WindowHandle owner);

  // Asks before the device's account changes (a new profile too, whose account is still
  // empty); on No it refuses and stores nothing.
  bool Accept(platform::WindowHandle owner);

  Controls controls;

 private:
  EmailSetup& setup_;
  // What folder picking logs in with.
  std::u16string filledUser_;
  std::u16string filledParams_;
};

// Date Range: how many days, weeks, months or years of mail, and whether older mail is deleted
// from the device.
class CDatePage : public PageModel {
 public:
  explicit CDatePage(EmailSetup& setup) : range(setup.Session()), setup_(setup) {}

  std::vector<ControlText> StaticTexts() const;
  // A new profile starts at three days with the deletion on; any other from MailRangeCount,
  // MailRangeUnit (Day(s) for a value no unit has) and DeleteOldTypes 64.
  void Fill();
  // 258: the count's text changed. 255's selection needs no call: set range.unit.
  CRangeEdit::Update CountChanged(std::u16string_view text, platform::WindowHandle owner) {
    return range.count.TextChanged(text, Initialised(), owner);
  }
  // A changed count or unit, against the range or the deletion's, sets RangeChanged, whether or
  // not the deletion is on.
  void Accept();

  MailRangeControls range;  // 258/259, 255, 706

 private:
  EmailSetup& setup_;
};

// Restrictions: the size limit, attachments, and which folders.
class CEmFoldersPage : public PageModel {
 public:
  struct Controls {
    bool attachments = false;    // 265 "Synchronize attachments"
    bool supportedOnly = false;  // 201
    bool allFolders = false;     // 242 (else 241, Inbox and Outbox)
  };

  explicit CEmFoldersPage(EmailSetup& setup);

  std::vector<ControlText> StaticTexts() const;
  // A new profile shows 10 KB, attachments off and Inbox and Outbox.
  void Fill();
  bool SupportedOnlyEnabled() const { return controls.attachments; }  // 201
  // 263: the size's text changed.
  CRangeEdit::Update SizeChanged(std::u16string_view text, platform::WindowHandle owner) {
    return size.TextChanged(text, Initialised(), owner);
  }
  // The folders and the size are stored only when they differ from what is stored, and each
  // such change sets RangeChanged.
  void Accept();

  CRangeEdit size;  // 263/264, kilobytes 0 to 30
  Controls controls;

 private:
  EmailSetup& setup_;
};

// Conflict Resolution.
class CConflictPage : public ConflictPage {
 public:
  explicit CConflictPage(EmailSetup& setup)
      : ConflictPage(setup.Session(), {control::kConflictIntro, string_id::kConflictIntro,
                                       string_id::kConflictIntroEnd}) {}
};

// Delete Options: what a deletion on the device does in GroupWise (kept: 139, else 138).
class CDeleteOptions : public DeleteOptionsPage {
 public:
  explicit CDeleteOptions(EmailSetup& setup)
      : DeleteOptionsPage(
            setup.Session(),
            {control::kDeleteIntro, string_id::kDeleteIntro, string_id::kDeleteIntroEnd},
            kEmailTypeBit) {}
};

}  // namespace setup::email
