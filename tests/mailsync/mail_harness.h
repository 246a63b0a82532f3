#pragma once

// A whole host around the mail plug-in: the portable machine with the build's resource
// libraries, a recording progress object, the simulated GroupWise, and an e-mail profile's
// setup blocks handed over as streams, as the host hands them.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/module_globals.h"
#include "framework/setup_blocks.h"
#include "mailsync/mail_plugin.h"
#include "sim/groupwise/simulated_groupwise.h"
#include "tests/support/plugin_harness.h"
#include "tests/support/trace_view.h"

namespace mailsync::testing_harness {

inline constexpr std::string_view kExtensionsKey =
    "Software\\Corvenda Corporation\\ZI5R RAV5 Email Synchronizer\\Supported Attachments";
inline constexpr std::string_view kFoldersKey =
    "Software\\Corvenda Corporation\\Quorl 2000 - GroupWise Edition";

// Gives the tests' mail plug-in its protected hooks.
class TestablePlugin : public TISYNCHAPPU {
 public:
  using TISYNCHAPPU::AddRecipients;
  using TISYNCHAPPU::BuildMailEntry;
  using TISYNCHAPPU::CalcMailSize;
  using TISYNCHAPPU::GetRecipientList;
  using TISYNCHAPPU::MessageTextSize;
  using TISYNCHAPPU::TISYNCHAPPU;
};

struct MailHost {
  MailHost() {
    host.platform.env.modulePath = std::string(GWS_RUNTIME_DIR) + "/mailsync.dll";
    host.platform.env.fixedNow = platform::EncodeAutomationDate({2000, 12, 8, 12, 0, 0, 0});
    host.platform.env.ctrlKeyDown = true;
    // The user presses Enter on the folder name the dialog proposes.
    host.platform.ui.folderNames.enterWhenEmpty = true;
    resources.emplace(host.platform.env, host.platform.resources, host.platform.ui);
    groupwise.RegisterWith(host.platform.objects);
    blockA.Set(framework::block_a::MailRangeStart, std::u16string_view(u"20001201T000000"));
    blockA.Set(framework::block_a::MailRangeEnd, std::u16string_view(u"20001208T000000"));
    blockA.Set(framework::block_a::MailFolders, uint32_t{12});
    blockA.Set(framework::block_a::MemoLimit, uint32_t{10240});
    blockA.Set(framework::block_a::MailNoAttachments, int16_t{0});
  }

  int32_t Init() {
    platform::MemoryStream a, c;
    blockA.WriteTo(a);
    blockC.WriteTo(c);
    return plugin->Init(host.progressObject, &a, &c);
  }
  void Start() {
    ASSERT_EQ(Init(), 0) << TraceText();
    ASSERT_EQ(plugin->Open(host.progressObject), 0) << TraceText();
  }
  int32_t Read(std::string& stream) {
    platform::MemoryStream out;
    const int32_t value = plugin->ReadSource(platform::Object(), &out, 6, 0, u"");
    stream = out.Bytes();
    return value;
  }

  std::vector<std::string> Trace() const { return testing_support::TraceOf(*plugin); }
  std::string TraceText() const { return testing_support::TraceTextOf(*plugin); }
  bool Traced(std::string_view line) const { return testing_support::Traced(*plugin, line); }

  testing_support::HostHarness host;
  std::optional<framework::ModuleResourcesScope> resources;
  sim::GroupWise groupwise;
  framework::SetupBlock blockA{framework::BlockKind::kA};
  framework::SetupBlock blockC{framework::BlockKind::kCMail};
  std::unique_ptr<TestablePlugin> plugin = std::make_unique<TestablePlugin>(host.platform);
};

inline platform::AutomationDate At(int day, int hour = 9) {
  return platform::EncodeAutomationDate({2000, 12, day, hour, 0, 0, 0});
}

inline sim::Recipient Recipient(int32_t kind, std::u16string address) {
  sim::Recipient recipient;
  recipient.targetType = kind;
  recipient.emailAddress = std::move(address);
  return recipient;
}

// A mail in the mailbox folder, unread, to Jane.
inline sim::MailMessage& AddMail(MailHost& mail, std::u16string subject,
                                 platform::AutomationDate when, std::u16string body = u"Body") {
  sim::Mailbox& box = *mail.groupwise.mailbox;
  sim::MailMessage message;
  message.messageId = box.NewMessageId();
  message.folders = {box.mailboxFolderId};
  message.subject = std::move(subject);
  message.bodyText = std::move(body);
  message.creationDate = when;
  message.sender = {u"Anna", u"anna@example.com"};
  message.fromText = u"Anna <anna@example.com>";
  message.recipients.push_back(Recipient(sim::kTo, u"jane@example.com"));
  sim::MailMessage& added = box.messages.push_back(std::move(message));
  box.NoteFiling();
  return added;
}

inline sim::Attachment File(std::u16string name, std::string bytes) {
  sim::Attachment file;
  file.fileName = std::move(name);
  file.data = std::make_shared<const std::string>(std::move(bytes));
  return file;
}

}  // namespace mailsync::testing_harness
