#pragma once

// The portable half of emailsetup's COM object (class EmailSetup): its profile session over
// the component's table, and the folder picker its General page uses. The Win32 shell owns
// one per object, runs the IEECDIALOG methods on Session() (setup/common/profile_session.h)
// and builds the page models of settings_pages.h and wizard_pages.h over it.

#include <string>

#include "setup/common/profile_session.h"
#include "setup/emailsetup/email_values.h"
#include "setup/emailsetup/folder_picker.h"

namespace setup::email {

class EmailSetup {
 public:
  EmailSetup(SetupServices services, FolderPickerFactory folderPickers)
      : session_(kEmailSetup, std::move(services)), folderPickers_(std::move(folderPickers)) {}

  ProfileSession& Session() { return session_; }
  const FolderPickerFactory& FolderPickers() const { return folderPickers_; }
  // The account name a new profile and the wizard start from.
  std::u16string DefaultAccountName() const {
    return email::DefaultAccountName(session_.Strings(), session_.ComputerName());
  }

 private:
  ProfileSession session_;
  FolderPickerFactory folderPickers_;
};

}  // namespace setup::email
