#include "setup/emailsetup/wizard_pages.h"

#include "setup/emailsetup/control_ids.h"

namespace setup::email {
namespace {

namespace block_a = framework::block_a;

}  // namespace

// ---- Account

std::vector<ControlText> CWizAccount::StaticTexts() const {
  const ComponentStrings& strings = setup_.Session().Strings();
  return {{control::kWizardAccountIntro,
           strings.TextJoined({string_id::kWizardAccountIntro, string_id::kWizardAccountIntroEnd})},
          {control::kWizardAccountUse,
           strings.TextJoined({string_id::kWizardAccountUse, string_id::kWizardAccountMore})}};
}

void CWizAccount::Start() {
  account = setup_.DefaultAccountName();
  MarkInitialised();
}

WizardButtons CWizAccount::Buttons() const {
  return account.empty() ? WizardButtons::kBackOnly : WizardButtons::kBackAndNext;
}

WizardButtons CWizAccount::AccountChanged(std::u16string text) {
  account = std::move(text);
  return Buttons();
}

void CWizAccount::Next() {
  if (!Initialised()) return;
  ProfileSession& session = setup_.Session();
  session.Data().b.Set(framework::block_b_mail::DeviceAccount,
                       DeviceAccountOf(session.Strings(), account));
}

// ---- Range

std::vector<ControlText> CWizRange::StaticTexts() const {
  const ComponentStrings& strings = setup_.Session().Strings();
  return {{control::kWizardRangeIntro, strings.Text(string_id::kWizardRangeIntro)},
          {control::kDeleteOldIntro, strings.Text(string_id::kDeleteOldIntro)}};
}

void CWizRange::Start() {
  range.FillDefaults();
  MarkInitialised();
}

void CWizRange::Next() {
  if (Initialised()) range.Store(setup_.Session().Data().a);
}

// ---- Size

CWizSize::CWizSize(EmailSetup& setup) : size(setup.Session(), 1, 50), setup_(setup) {}

std::vector<ControlText> CWizSize::StaticTexts() const {
  const ComponentStrings& strings = setup_.Session().Strings();
  return {{control::kWizardSizeIntro, strings.Text(string_id::kWizardSizeIntro)},
          {control::kViewableAttachments, strings.Text(string_id::kViewableAttachments)}};
}

void CWizSize::Start() {
  size.Fill(10);
  attachments = false;
  supportedOnly = false;
  MarkInitialised();
}

void CWizSize::Next() {
  if (!Initialised()) return;
  Blocks& blocks = setup_.Session().Data();
  blocks.a.Set(block_a::MemoLimit, static_cast<uint32_t>(size.Position()) * 1024u);
  blocks.a.Set(block_a::MailNoAttachments, attachments ? 0 : 1);
  blocks.c.Set(framework::block_c_mail::SupportedOnly, supportedOnly ? 1 : 0);
}

}  // namespace setup::email
