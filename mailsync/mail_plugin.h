#pragma once

// The mail plug-in: the inbox's and its own sent folder's mail and phone messages of a date
// range go to the handheld, with their attachments. At Open it logs into GroupWise and makes
// sure of three folders of its own there (a base folder holding a "sent" and a "deleted" one),
// whose ids it keeps in the registry.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/base_isync.h"
#include "framework/setup_blocks.h"
#include "framework/sync_session.h"
#include "platform/automation.h"
#include "platform/temp_folder.h"

namespace mailsync {

inline constexpr int32_t kMaskInbox = 8;
inline constexpr int32_t kMaskSent = 4;
inline constexpr int32_t kMaskOutbox = 2;

// Box kinds a record's FOLDER gives; kNoFolder when it has none.
enum BoxKind : uint8_t {
  kDraftBox = 0,
  kSentBox = 1,
  kOutboxBox = 2,
  kInboxBox = 3,
  kOtherBox = 4,
  kNoFolder = 5
};

class TISYNCHAPPU : public framework::TBaseIsync {
 public:
  explicit TISYNCHAPPU(platform::Platform& platform);
  ~TISYNCHAPPU() override;

  int32_t Init(const platform::Object& progress, platform::ByteStream* synchSetup,
               platform::ByteStream* appSetup) override;
  int32_t Term(const platform::Object& progress) override;
  int32_t Open(const platform::Object& progress) override;
  int32_t Close(const platform::Object& progress) override;
  int32_t CheckSource(const platform::Object& progress) override;

  // What Open settled, for tools and tests.
  const std::string& BaseFolderName() const { return baseFolderName_; }
  const std::string& BaseFolderId() const { return baseFolderId_; }
  const std::string& SentFolderId() const { return sentFolderId_; }
  const std::string& DeletedFolderId() const { return deletedFolderId_; }

 protected:
  bool GetPIMEmails(framework::TEntryList& list) override;
  // A mail written on the device (FOLDER "<Outbox>") is sent; the entry becomes the sent mail.
  bool AddPIMEmail(framework::TEntry& entry) override;
  // The device's changes go to the mail of the entry's UID; the entry becomes that mail.
  bool ModifyPIMEmail(framework::TEntry& entry) override;
  // The mail of the entry's UID moves into the plug-in's deleted folder; nothing is erased.
  bool DeletePIMEmail(framework::TEntry& entry) override;

  // Copies the record's properties into the mail, in their order, and the mail's id into the
  // entry's UID. False (traced) on a failure; what was applied before it stays, but a record
  // whose attachments cannot be read changes nothing.
  bool UpdateMail(const platform::Object& mail, framework::TEntry& entry, uint8_t& boxKind);
  // Adds the ";"-separated addresses as recipients of one kind (0 To, 1 CC, 2 BC); those
  // GroupWise cannot resolve are logged for the user and taken off again. How many resolved.
  int AddRecipients(const platform::Object& mail, std::string_view list, int32_t kind);

  // The file attachments of one message already saved by the size check, by their position in
  // the message's attachment list, so the record is built from the same bytes without asking
  // GroupWise for them again. The folder holding them goes with the object.
  struct SavedAttachments {
    std::optional<platform::TempFolder> folder;
    std::map<int32_t, std::string> paths;
  };

  // Appends the message's VMEMO record to the entry. False (traced) when any of it fails; what
  // was appended stays.
  bool BuildMailEntry(framework::TEntry& entry, const platform::Object& message,
                      SavedAttachments* saved = nullptr);
  // Text, recipients and, when asked, the attachments as they will travel; 0 when GroupWise
  // fails, so that the message is sent rather than skipped. Keeps what it saved in `saved`.
  uint32_t CalcMailSize(const platform::Object& message, bool withAttachments,
                        SavedAttachments* saved);
  int64_t MessageTextSize(const platform::Object& message);
  // The addresses of the recipients of one kind (0 To, 1 CC, 2 BC), joined by ";".
  std::string GetRecipientList(const platform::Object& message, int32_t kind);

 private:
  // The base, sent and deleted folders: found by their stored ids, by name, or created.
  void FindOrCreateFolders();
  platform::Object FindOrCreateBaseFolder(const platform::Object& allFolders);
  platform::Object FindOrCreateSubfolder(const platform::Object& base, std::string& id,
                                         const std::string& name);
  void ReadFolderIds();
  void WriteFolderIds();
  void ReadSupportedExtensions();
  void TraceConfiguration();

  // The steps of an insert after the mail has gone: they may fail, but the mail is sent, and
  // the host must not send it again.
  void FileSentMail(framework::TEntry& entry, const platform::Object& sent,
                    const platform::Object& sentFolder);
  // Takes a mail that was not sent out of GroupWise again, so failed inserts do not pile up.
  void DiscardUnsentMail(const platform::Object& draft);
  void ApplyProperty(const platform::Object& mail, framework::TvPropertyView property,
                     uint8_t& boxKind);
  void MoveMailTo(const platform::Object& mail, const platform::Object& folder);
  platform::Object FolderById(const std::string& id) const;
  // The first enclosing folder's message list, where a Move of the mail starts.
  static platform::Object EnclosingMessages(const platform::Object& mail);

  // One search of the read: its messages within the limit become entries.
  void ReadMessages(const platform::Object& folder, const std::string& query, int progressString,
                    bool restoreRead, framework::TEntryList& list);
  void AppendAttachments(framework::TEntry& entry, const platform::Object& message,
                         SavedAttachments* saved);
  // Saves a file attachment into `folder` under a name of the plug-in's choosing; the path.
  std::string SaveAttachment(const platform::Object& attachment, int32_t position,
                             const platform::TempFolder& folder);
  bool IsSynchronizedFile(const platform::Object& attachment);
  std::string SubjectText(const platform::Object& message);
  std::string Narrow(std::u16string_view text) const;

  std::optional<framework::SetupBlock> synchSetup_;
  std::optional<framework::SetupBlock> appSetup_;
  std::unique_ptr<framework::TSyncSession> session_;
  uint32_t mailFolders_ = 0;
  uint32_t memoLimit_ = 0;
  bool includeAttachments_ = true;
  uint8_t manualLogin_ = 0;
  std::string loginUser_;
  std::string loginParams_;
  uint8_t inboxOverride_ = 0;
  std::string inboxFolderId_;
  uint8_t supportedOnly_ = 0;
  platform::AutomationDate mailStartDate_{};
  platform::AutomationDate mailEndDate_{};
  std::vector<std::string> supportedExtensions_;
  platform::Object gwSession_;
  platform::Object FGWAccount;
  platform::Object gwMailbox_;
  std::string baseFolderName_;
  std::string sentFolderName_;
  std::string deletedFolderName_;
  std::string baseFolderId_;
  std::string sentFolderId_;
  std::string deletedFolderId_;
  bool attachmentNoticePending_ = false;
  bool dcomNoticeShown_ = false;
};

}  // namespace mailsync
