#include "setup/emailsetup/email_values.h"

#include "framework/data_types.h"

namespace setup::email {
namespace {

using framework::BlockKind;
using framework::I16Field;
using framework::I32Field;
namespace block_a = framework::block_a;
constexpr int16_t kEmail = framework::data_type::kEmail;

constexpr I16Field A16(std::size_t offset) {
  return {BlockKind::kA, offset};
}

}  // namespace

const Component kEmailSetup = {
    "emailsetup",
    "emailsetup.EmailSetup.1",
    BlockKind::kBMail,
    BlockKind::kCMail,
    {"Internal Error 10107: pISynch: Sync file missing", "Internal Error 10108: Sync.dll missing?",
     "Internal Error 10109: Could not write control file"},
    string_id::kBlank,
    3,
    {framework::block_c_mail::ManualLogin, framework::block_c_mail::LoginUser,
     framework::block_c_mail::LoginParams},
    WriteIdentity,
    ApplyDefaults,
    ApplyCommitValues,
};

std::u16string DefaultAccountName(const ComponentStrings& strings,
                                  std::u16string_view computerName) {
  return computerName.empty() ? strings.Text(string_id::kWorkAccount)
                              : std::u16string(computerName);
}

std::u16string DeviceAccountOf(const ComponentStrings& strings, std::u16string_view accountName) {
  return std::u16string(accountName) + strings.Text(string_id::kAccountSuffix);
}

void WriteIdentity(Blocks& blocks, const ValueContext& context) {
  framework::SetupBlock& a = blocks.a;
  a.Set(block_a::Title, context.strings.Text(string_id::kProfileTitle));
  a.Set(block_a::DeviceApp, u"EPOCMAIL");
  a.Set(block_a::PCApp, u"MAILSYNC");
  a.Set(block_a::LogPath, context.paths.log);
  // Only mail takes part; element 7 is the host's.
  for (int16_t type = 0; type <= framework::data_type::kCon; ++type)
    a.Set(block_a::TypeEnabled[type], 0);
  a.Set(block_a::TypeEnabled[kEmail], 1);
  for (std::size_t offset : {3702u, 6552u, 7806u})
    a.Set(A16(offset), 0);
  a.Set(block_a::DeviceCodePage[kEmail], 65001u);
  a.Set(block_a::PCCodePage[kEmail], 65001u);
  for (std::size_t offset : {7024u, 7028u})
    a.Set(I32Field{BlockKind::kA, offset}, -1);
}

// Three days of mail up to 10 KB each, without attachments, from the inbox and the outbox, and
// older mail deleted from the device after three days; GroupWise wins conflicts, and a mail
// deleted on the device is deleted in GroupWise.
void ApplyDefaults(Blocks& blocks, const ValueContext& context) {
  framework::SetupBlock& a = blocks.a;
  a.Set(block_a::DeleteRule, 0);
  a.Set(block_a::ConflictRule, 1);
  a.Set(block_a::MailRangeUnit, 1);
  a.Set(block_a::MailRangeCount, 3);
  a.Set(block_a::DeleteOldTypes, kEmailTypeBit);
  a.Set(block_a::DeleteOldUnit[kEmail], 1);
  a.Set(block_a::DeleteOldCount[kEmail], 3);
  a.Set(block_a::MemoLimit, 10240u);
  a.Set(block_a::MailNoAttachments, 1);
  a.Set(block_a::MailFolders, kInboxAndOutbox);
  blocks.b.Set(
      framework::block_b_mail::DeviceAccount,
      DeviceAccountOf(context.strings, DefaultAccountName(context.strings, context.computerName)));
}

// The wizard has no pages for these, so a profile made by it gets them fixed.
void ApplyCommitValues(Blocks& blocks) {
  framework::SetupBlock& a = blocks.a;
  a.Set(block_a::DeleteRule, 0);
  a.Set(block_a::ConflictRule, 1);
  a.Set(block_a::MailFolders, kInboxAndOutbox);
}

}  // namespace setup::email
