// The mail plug-in's session: what Init takes from the setup blocks and the registry and
// writes to the trace.

#include <gtest/gtest.h>

#include "tests/mailsync/mail_harness.h"

namespace mailsync {
namespace {

using testing_harness::kExtensionsKey;
using testing_harness::MailHost;
namespace block_a = framework::block_a;
namespace block_c = framework::block_c_mail;

// The trace from "GroupWise manual login?" to the last configuration line.
std::vector<std::string> ConfigurationLines(const MailHost& mail) {
  const std::vector<std::string> trace = mail.Trace();
  std::vector<std::string> lines;
  bool inside = false;
  for (const std::string& line : trace) {
    if (line.starts_with("GroupWise manual login?")) inside = true;
    if (line == "TISYNCHAPPU.Init S_OK") break;
    if (inside) lines.push_back(line);
  }
  return lines;
}

TEST(MailSession, InitTracesTheConfigurationOfBlocksAAndCAndTheRegistry) {
  struct Case {
    const char* name;
    std::function<void(MailHost&)> setUp;
    std::vector<std::string> wanted;
  };
  const Case cases[] = {
      {"defaults_of_the_test_host",
       [](MailHost&) {},
       {"GroupWise manual login?: NO", "GroupWise username override: <na>",
        "GroupWise login parameters: <na>", "GroupWise InBox override: NO",
        "Date range start: 2000-12-01", "Date range end: 2000-12-08", "Sync Inbox: TRUE",
        "Sync Outbox: FALSE", "Sync Sent: TRUE", "MemoLimit: 10240 bytes",
        "Include Attachments: TRUE", "Supported attachments only: FALSE", ""}},
      {"manual_login_override_and_extensions",
       [](MailHost& m) {
         m.blockC.Set(block_c::ManualLogin, int16_t{1});
         m.blockC.Set(block_c::LoginUser, std::u16string_view(u" jdoe "));
         m.blockC.Set(block_c::LoginParams, std::u16string_view(u"/ipa-10.0.0.1"));
         m.blockC.Set(block_c::InboxOverride, int16_t{1});
         m.blockC.Set(block_c::InboxFolderId, std::u16string_view(u"FOLDER.7"));
         m.blockC.Set(block_c::SupportedOnly, int16_t{1});
         m.blockA.Set(block_a::MailFolders, uint32_t{2});
         m.blockA.Set(block_a::MailNoAttachments, int16_t{0x0101});  // only the low byte counts
         m.host.platform.registry.SetString(platform::RegistryRoot::kCurrentUser, kExtensionsKey,
                                            "Z380", ".DOC,.TXT");
       },
       {"GroupWise manual login?: YES", "GroupWise username override: jdoe",
        "GroupWise login parameters: /ipa-10.0.0.1", "GroupWise InBox override: YES",
        "GroupWise InBox override ID: [FOLDER.7]", "Date range start: 2000-12-01",
        "Date range end: 2000-12-08", "Sync InBox: FALSE", "Sync Outbox: TRUE", "Sync Sent: FALSE",
        "MemoLimit: 10240 bytes", "Include Attachments: FALSE", "Supported attachments only: TRUE",
        "Supported extension 0: .DOC", "Supported extension 1: .TXT", ""}},
      {"user_kept_without_manual_login_and_override_without_id",
       [](MailHost& m) {
         m.blockC.Set(block_c::LoginUser, std::u16string_view(u"jdoe"));
         m.blockC.Set(block_c::InboxOverride, int16_t{1});
         m.blockA.Set(block_a::MailRangeStart, std::u16string_view(u"not a date"));
       },
       {"GroupWise manual login?: NO", "GroupWise username override: <na>",
        "GroupWise login parameters: <na>", "GroupWise InBox override: NO",
        "Date range start: 2000-12-08", "Date range end: 2000-12-08", "Sync Inbox: TRUE",
        "Sync Outbox: FALSE", "Sync Sent: TRUE", "MemoLimit: 10240 bytes",
        "Include Attachments: TRUE", "Supported attachments only: FALSE", ""}},
  };
  for (const Case& c : cases) {
    MailHost mail;
    c.setUp(mail);
    ASSERT_EQ(mail.Init(), 0) << c.name << mail.TraceText();
    EXPECT_EQ(ConfigurationLines(mail), c.wanted) << c.name;
  }
}

}  // namespace
}  // namespace mailsync
