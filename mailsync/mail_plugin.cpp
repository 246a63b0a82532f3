#include "mailsync/mail_plugin.h"

#include "framework/exceptions.h"
#include "framework/groupwise.h"
#include "framework/module_globals.h"
#include "framework/registry_nt.h"
#include "framework/text_util.h"
#include "framework/versit_date.h"
#include "mailsync/folder_name_dialog.h"
#include "mailsync/mail_text.h"

namespace mailsync {
namespace {

using framework::FormatText;
using platform::Object;
namespace block_a = framework::block_a;
namespace block_c = framework::block_c_mail;

constexpr std::string_view kExtensionsKey =
    "\\Software\\Corvenda Corporation\\ZI5R RAV5 Email Synchronizer\\Supported Attachments";
constexpr std::string_view kExtensionsValue = "Z380";
constexpr std::string_view kFoldersKey =
    "\\Software\\Corvenda Corporation\\Quorl 2000 - GroupWise Edition";
constexpr std::string_view kBaseIdValue = "EPOC Folder ID";
constexpr std::string_view kSentIdValue = "Sent Folder ID";
constexpr std::string_view kDeletedIdValue = "Deleted Folder ID";
constexpr std::string_view kDefaultBaseFolder = "Z380";
constexpr std::string_view kNotLoggedIn = "<na>";
constexpr std::string_view kErrorTitle = "Quorl Z380 2000 Error";
constexpr std::string_view kAttachmentNoticeTitle =
    "\r\nF o r  y o u r  i n f o r m a t i o n :\r\n";
constexpr std::string_view kAttachmentNotice =
    "At least one message attachment extracted from GroupWise did not contain\r\nany body text.  "
    "This might be due to:\r\n\r\na)\tThe message did not have any body text, or\r\nb)\tThe "
    "message was not a native GroupWise message (i.e. it arrived via\r\n\tthe Internet), and "
    "therefore extraction of the body text was affected\r\n\tby a known GroupWise client "
    "issue.\r\n\r\nAny messages affected by the above are indicated by the text\r\n\"<No body "
    "text available>\" in the message body area on the smartphone.";

const char* TrueFalse(bool value) {
  return value ? "TRUE" : "FALSE";
}

// A folder looked up by a member that raises when there is none; the null object then.
template <typename Lookup>
Object Found(Lookup lookup) {
  try {
    return lookup();
  } catch (const platform::Exception&) {
    return Object();
  }
}

// The answer of a lookup, or nothing when it raised (a null answer is an answer).
template <typename Lookup>
std::optional<Object> Answer(Lookup lookup) {
  try {
    return lookup();
  } catch (const platform::Exception&) {
    return std::nullopt;
  }
}

}  // namespace

TISYNCHAPPU::TISYNCHAPPU(platform::Platform& platform) : TBaseIsync(platform) {}
TISYNCHAPPU::~TISYNCHAPPU() = default;

std::string TISYNCHAPPU::Narrow(std::u16string_view text) const {
  return Services().Ansi().ToAnsi(text);
}

int32_t TISYNCHAPPU::Init(const platform::Object& progress, platform::ByteStream* synchSetup,
                          platform::ByteStream* appSetup) {
  gwSession_ = Object();
  FGWAccount = Object();
  gwMailbox_ = Object();
  Trace("TISYNCHAPPU.Init");
  if (TBaseIsync::Init(progress, synchSetup, appSetup) != 0) return 1;
  try {
    platform::Platform& services = Services();
    const platform::CodePage& ansi = services.Ansi();
    framework::PIMName = "GroupWise";
    sentFolderName_ = framework::LoadModuleString(262);
    deletedFolderName_ = framework::LoadModuleString(264);
    attachmentNoticePending_ = false;
    dcomNoticeShown_ = false;
    ReadSupportedExtensions();
    session_ = std::make_unique<framework::TSyncSession>(services);
    if (services.Env().IsCtrlKeyDown()) SetTracing(true);
    baseFolderName_ = kDefaultBaseFolder;
    Trace("TISYNCHAPPU.Init - TWO");

    synchSetup_.emplace(framework::BlockKind::kA);
    synchSetup_->ReadFrom(framework::RequireSetupStream(synchSetup));
    appSetup_.emplace(framework::BlockKind::kCMail);
    appSetup_->ReadFrom(framework::RequireSetupStream(appSetup));
    mailFolders_ = synchSetup_->Get(block_a::MailFolders);
    memoLimit_ = synchSetup_->Get(block_a::MemoLimit);
    includeAttachments_ = (synchSetup_->Get(block_a::MailNoAttachments) & 0xFF) != 1;
    const auto text = [&](framework::TextField field) {
      return std::string(framework::TrimControl(ansi.ToAnsi(appSetup_->Get(field))));
    };
    manualLogin_ = static_cast<uint8_t>(appSetup_->Get(block_c::ManualLogin) & 0xFF);
    loginUser_ = loginParams_ = kNotLoggedIn;
    if (manualLogin_ != 0) {
      loginUser_ = text(block_c::LoginUser);
      loginParams_ = text(block_c::LoginParams);
    }
    inboxOverride_ = static_cast<uint8_t>(appSetup_->Get(block_c::InboxOverride) & 0xFF);
    inboxFolderId_ = text(block_c::InboxFolderId);
    supportedOnly_ = static_cast<uint8_t>(appSetup_->Get(block_c::SupportedOnly) & 0xFF);
    if (inboxOverride_ != 0 && inboxFolderId_.empty()) inboxOverride_ = 0;

    const platform::AutomationDate now = services.Env().Now();
    const auto date = [&](framework::DateField field) {
      return framework::VersitToDateTime(
          framework::TrimControl(ansi.ToAnsi(synchSetup_->Get(field))), now);
    };
    mailStartDate_ = date(block_a::MailRangeStart);
    mailEndDate_ = date(block_a::MailRangeEnd);
    TraceConfiguration();
    Trace("TISYNCHAPPU.Init S_OK");
    return 0;
  } catch (const std::exception& failure) {
    Trace(FormatText("TISYNCHAPPU.Init: Exception: [%s], S_FALSE", {failure.what()}));
    return 1;
  }
}

void TISYNCHAPPU::ReadSupportedExtensions() {
  supportedExtensions_.clear();
  try {
    framework::TRegistryNT key(Services().Reg());
    key.SetAccess(platform::registry_access::kRead);
    if (!key.OpenKey(kExtensionsKey, false)) return;
    if (const auto list = key.ReadString(kExtensionsValue)) {
      supportedExtensions_ = ParseCommaText(*list);
    }
  } catch (const std::exception&) {
    supportedExtensions_.clear();
  }
}

void TISYNCHAPPU::TraceConfiguration() {
  platform::Environment& env = Services().Env();
  Trace(FormatText("Trace Started: %s", {env.FormatDateTime(env.Now())}));
  Trace("-- EPOC32 Configuration ------------------------------");
  Trace(framework::DeviceTraceLine(session_->Device));
  Trace("------------------------------------------------------");
  Trace("");
  Trace(manualLogin_ != 0 ? "GroupWise manual login?: YES" : "GroupWise manual login?: NO");
  Trace(FormatText("GroupWise username override: %s", {loginUser_}));
  Trace(FormatText("GroupWise login parameters: %s", {loginParams_}));
  if (inboxOverride_ != 0) {
    Trace("GroupWise InBox override: YES");
    Trace(FormatText("GroupWise InBox override ID: [%s]", {inboxFolderId_}));
  } else {
    Trace("GroupWise InBox override: NO");
  }
  Trace(FormatText("Date range start: %s", {env.FormatShortDate(mailStartDate_)}));
  Trace(FormatText("Date range end: %s", {env.FormatShortDate(mailEndDate_)}));
  Trace((mailFolders_ & kMaskInbox) != 0 ? "Sync Inbox: TRUE" : "Sync InBox: FALSE");
  Trace(FormatText("Sync Outbox: %s", {TrueFalse((mailFolders_ & kMaskOutbox) != 0)}));
  Trace(FormatText("Sync Sent: %s", {TrueFalse((mailFolders_ & kMaskSent) != 0)}));
  Trace(FormatText("MemoLimit: %d bytes", {std::to_string(memoLimit_)}));
  Trace(FormatText("Include Attachments: %s", {TrueFalse(includeAttachments_)}));
  if (supportedOnly_ != 0) {
    Trace("Supported attachments only: TRUE");
    for (std::size_t i = 0; i < supportedExtensions_.size(); ++i) {
      Trace(FormatText("Supported extension %d: %s", {std::to_string(i), supportedExtensions_[i]}));
    }
  } else {
    Trace("Supported attachments only: FALSE");
  }
  Trace("");
}

int32_t TISYNCHAPPU::Open(const platform::Object& progress) {
  try {
    if (TBaseIsync::Open(progress) != 0) throw framework::EAbort();
    platform::Platform& services = Services();
    try {
      Trace("About to create the GroupWise Application Object...");
      gwSession_ = services.Objects().CreateObject(framework::groupwise::kSessionProgId);
      services.Ui().PumpMessages();
      const framework::groupwise::Session session(gwSession_);
      try {
        FGWAccount = manualLogin_ != 0 ? session.Login(services.Ansi().ToWide(loginUser_),
                                                       services.Ansi().ToWide(loginParams_))
                                       : session.LoginDefault();
      } catch (const std::exception&) {
        throw platform::Exception("The plugin was unable to log into GroupWise.");
      }
      if (!FGWAccount) {
        ReportError(
            "Login Failure",
            "Could not log into GroupWise.  Please check your log in parameters and try again.");
        Trace(
            "TISYNCHAPPU: Could not access the account object. This might be due to a login "
            "failure");
        throw framework::EAbort();
      }
    } catch (...) {
      Trace("TISYNCHAPPU: Error creating the GroupWise interface");
      throw;
    }
    Trace("Account Object...OK");
    Trace(FormatText("Path to host: %s", {Narrow(FGWAccount.GetProperty("PathToHost").ToText())}));
    Trace("About to account Mailbox Object...");
    gwMailbox_ = FGWAccount.GetProperty("MailBox").ToObject();
    if (!gwMailbox_) throw platform::Exception("Could not access the account mailbox folder");
    Trace("Mailbox Object...OK");
    if (inboxOverride_ != 0) {
      Trace(FormatText("Checking InBox override folder: [%s]", {inboxFolderId_}));
      const Object folder = Found([&] {
        return FGWAccount.GetProperty("AllFolders")
            .ToObject()
            .Call("Item", {services.Ansi().ToWide(inboxFolderId_)})
            .ToObject();
      });
      if (!folder) {
        throw platform::Exception(
            "Could not access the InBox folder - synchronization will now terminate.");
      }
      Trace(FormatText("InBox override folder OK: [%s]",
                       {Narrow(folder.GetProperty("Name").ToText())}));
    }
    FindOrCreateFolders();
    return 0;
  } catch (const framework::EAbort&) {
    return 1;
  } catch (const std::exception& failure) {
    ReportError(kErrorTitle, failure.what());
    return 1;
  }
}

void TISYNCHAPPU::ReadFolderIds() {
  try {
    framework::TRegistryNT key(Services().Reg());
    key.SetAccess(platform::registry_access::kRead);
    if (!key.OpenKey(kFoldersKey, true)) throw platform::Exception("no key");
    const auto base = key.ReadString(kBaseIdValue);
    const auto sent = key.ReadString(kSentIdValue);
    const auto deleted = key.ReadString(kDeletedIdValue);
    if (!base || !sent || !deleted) throw platform::Exception("no value");
    baseFolderId_ = *base;
    sentFolderId_ = *sent;
    deletedFolderId_ = *deleted;
  } catch (const std::exception&) {
    // The folders are then found by name.
    baseFolderId_.clear();
    sentFolderId_.clear();
    deletedFolderId_.clear();
  }
}

void TISYNCHAPPU::WriteFolderIds() {
  try {
    framework::TRegistryNT key(Services().Reg());
    if (!key.OpenKey(kFoldersKey, true)) return;
    key.WriteString(kBaseIdValue, baseFolderId_);
    key.WriteString(kSentIdValue, sentFolderId_);
    key.WriteString(kDeletedIdValue, deletedFolderId_);
  } catch (const std::exception&) {
    // The next run finds the folders by name again.
  }
}

Object TISYNCHAPPU::FindOrCreateBaseFolder(const Object& allFolders) {
  platform::Platform& services = Services();
  Trace(FormatText("Checking for the '%s' folder in GroupWise...", {baseFolderName_}));
  // By the stored id; when GroupWise raises (the id is stale or empty), by name.
  std::optional<Object> found = Answer([&] {
    Object byId = allFolders.Call("Item", {services.Ansi().ToWide(baseFolderId_)}).ToObject();
    Trace("Base folder located in GroupWise.");
    return byId;
  });
  if (!found) {
    found = Answer([&] {
      return allFolders.Call("ItemByName", {services.Ansi().ToWide(baseFolderName_)}).ToObject();
    });
  }
  Object base = found.value_or(Object());
  if (base) return base;
  Trace("Folder not found, so creating...");
  try {
    TFolderNameClass dialog(services);
    dialog.SetFolderName(baseFolderName_);
    const platform::WindowHandle owner = Progress().GetParentWnd();
    dialog.SetFolderName(std::string(kDefaultBaseFolder));
    if (!dialog.ShowModal(owner)) return Object();
    baseFolderName_ = dialog.FolderName();
    base =
        allFolders.Call("Add", {services.Ansi().ToWide(baseFolderName_), platform::Variant::Null()})
            .ToObject();
    FGWAccount.Call("Refresh");
  } catch (const std::exception& failure) {
    Trace(FormatText("TISYNCHAPPU: the folder could not be created: [%s]", {failure.what()}));
    return Object();
  }
  return base;
}

Object TISYNCHAPPU::FindOrCreateSubfolder(const Object& base, std::string& id,
                                          const std::string& name) {
  const platform::CodePage& ansi = Services().Ansi();
  Trace(FormatText("Checking for the '%s' folder in GroupWise...", {name}));
  const Object folders = base.GetProperty("Folders").ToObject();
  std::optional<Object> found =
      Answer([&] { return folders.Call("Item", {ansi.ToWide(id)}).ToObject(); });
  if (!found)
    found = Answer([&] { return folders.Call("ItemByName", {ansi.ToWide(name)}).ToObject(); });
  const Object folder = found.value_or(Object());
  if (folder) return folder;
  Trace("Folder not found, so creating...");
  return Found([&] {
    Object made = folders.Call("Add", {ansi.ToWide(name), platform::Variant::Null()}).ToObject();
    FGWAccount.Call("Refresh");
    return made;
  });
}

void TISYNCHAPPU::FindOrCreateFolders() {
  ReadFolderIds();
  const Object allFolders = FGWAccount.GetProperty("AllFolders").ToObject();
  const Object base = FindOrCreateBaseFolder(allFolders);
  if (!base) {
    throw platform::Exception(
        "The base Psion Sent folder could not be located/created in GroupWise.");
  }
  const Object sent = FindOrCreateSubfolder(base, sentFolderId_, sentFolderName_);
  if (!sent) {
    throw platform::Exception(
        "The From Psion Sent folder could not be located/created in GroupWise.");
  }
  const Object deleted = FindOrCreateSubfolder(base, deletedFolderId_, deletedFolderName_);
  if (!deleted) {
    throw platform::Exception(
        "The From Psion Deleted folder could not be located/created in GroupWise.");
  }
  baseFolderId_ = Narrow(base.GetProperty("FolderID").ToText());
  sentFolderId_ = Narrow(sent.GetProperty("FolderID").ToText());
  deletedFolderId_ = Narrow(deleted.GetProperty("FolderID").ToText());
  Trace(FormatText("%s folder located/created.  ID: %s", {baseFolderName_, baseFolderId_}));
  Trace(FormatText("Sent folder located/created.  ID: %s", {sentFolderId_}));
  Trace(FormatText("Deleted folder located/created.  ID: %s", {deletedFolderId_}));
  WriteFolderIds();
}

int32_t TISYNCHAPPU::CheckSource(const platform::Object&) {
  try {
    Progress().SetAppText("Checking GroupWise");
    Trace("TISYNCHAPPU.CheckSource S_OK");
    return 0;
  } catch (const std::exception&) {
    Trace("TISYNCHAPPU.CheckSource S_FALSE");
    return 1;
  }
}

// Failures here are not caught: the host learns of them as a failing call.
int32_t TISYNCHAPPU::Close(const platform::Object& progress) {
  if (HasProgress()) {
    Progress().SetAppText("Disconnecting from GroupWise");
    if (attachmentNoticePending_) Progress().Log(kAttachmentNotice, kAttachmentNoticeTitle, 1);
    attachmentNoticePending_ = false;
    framework::LogDcomNoticeOnce(Services(), Progress(), dcomNoticeShown_);
  }
  FGWAccount = Object();
  gwSession_ = Object();
  Trace("TISYNCHAPPU.Close S_OK");
  return TBaseIsync::Close(progress);
}

int32_t TISYNCHAPPU::Term(const platform::Object& progress) {
  supportedExtensions_.clear();
  Trace("TISYNCHAPPU.Term S_OK");
  Trace(FormatText("Trace Ended: %s", {Services().Env().FormatDateTime(Services().Env().Now())}));
  TBaseIsync::Term(progress);
  session_.reset();
  return 0;
}

}  // namespace mailsync
