// The sample mailbox's mail: the e-mail plug-in's inbox query over the default range finds a
// few dozen messages holding every case the plug-in has to get right, and none of its folders
// exist yet.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "sim/groupwise/sample_mail.h"
#include "sim/groupwise/sample_mailbox.h"
#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

using testing_support::At;
using testing_support::ErrorOf;
using testing_support::Object;
using testing_support::Utf8;
using testing_support::Variant;

bool HasCodeIn(std::u16string_view text, char16_t low, char16_t high) {
  return std::any_of(text.begin(), text.end(), [&](char16_t c) { return c >= low && c <= high; });
}

// The size the plug-in checks against its limit, without attachments.
std::size_t TextSize(const MailMessage& message) {
  std::size_t size = message.subject.size() + message.bodyText.size();
  for (const Recipient& recipient : message.recipients)
    size += recipient.emailAddress.size();
  return size;
}

bool HoldsAttached(const MailMessage& message, ItemClass itemClass,
                   const std::function<bool(const MailMessage&)>& also = nullptr) {
  return std::any_of(
      message.attachments.begin(), message.attachments.end(), [&](const Attachment& a) {
        return a.item && a.item.get()->itemClass == itemClass && (!also || also(*a.item.get()));
      });
}

bool HoldsFile(const MailMessage& message, const std::function<bool(const Attachment&)>& test) {
  return std::any_of(message.attachments.begin(), message.attachments.end(),
                     [&](const Attachment& a) { return a.objType == kFileAttachment && test(a); });
}

class GroupWiseSimSampleMail : public ::testing::Test {
 protected:
  GroupWiseSimSampleMail() { *groupwise.mailbox = BuildSampleMailbox(At(2001, 2, 15, 10)); }

  Object Account() const { return testing_support::AccountOf(groupwise); }
  // What the plug-in's inbox read finds over the default range, the three days up to today.
  std::vector<const MailMessage*> Inbox() const {
    const Object list = Account()
                            .GetProperty("MailBox")
                            .AsObject()
                            .GetProperty("Messages")
                            .AsObject()
                            .Call("Find", {u"(MAIL OR PHONE_MESSAGE) AND (BOX_TYPE = INCOMING) AND "
                                           u"(START_DATE >= 2001/2/12 AT 00:00:00 AND "
                                           u"START_DATE <= 2001/2/15 AT 23:59:59)"})
                            .AsObject();
    std::vector<const MailMessage*> found;
    for (int32_t i = 1, n = list.GetProperty("Count").ToInt32(); i <= n; ++i) {
      found.push_back(groupwise.mailbox->FindMessage(
          list.Call("Item", {i}).AsObject().GetProperty("MessageID").AsText()));
    }
    return found;
  }

  GroupWise groupwise;
};

TEST_F(GroupWiseSimSampleMail, TheInboxOfTheDefaultRangeHoldsEveryCaseAMailPlugInMustHandle) {
  const std::vector<const MailMessage*> inbox = Inbox();
  EXPECT_EQ(inbox.size(), 26u);
  using Test = std::function<bool(const MailMessage&)>;
  const std::pair<const char*, Test> cases[] = {
      {"a mail", [](auto& m) { return m.itemClass == ItemClass::kMail; }},
      {"a phone message with a company and flags",
       [](auto& m) {
         return m.itemClass == ItemClass::kPhoneMessage && !m.callerCompany.empty() &&
                m.telephoned && m.urgent && m.pleaseCall;
       }},
      {"a phone message without a company and without a body",
       [](auto& m) {
         return m.itemClass == ItemClass::kPhoneMessage && m.callerCompany.empty() &&
                m.bodyText.empty() && m.returnedCall;
       }},
      {"the other phone flags", [](auto& m) { return m.willCall && m.wantsToSee && m.cameToSee; }},
      {"unread", [](auto& m) { return !m.read; }},
      {"read", [](auto& m) { return m.read; }},
      {"priority 1", [](auto& m) { return m.priority == 1; }},
      {"priority 2", [](auto& m) { return m.priority == 2; }},
      {"priority 3", [](auto& m) { return m.priority == 3; }},
      {"recipients of all three kinds",
       [](auto& m) {
         return std::any_of(m.recipients.begin(), m.recipients.end(),
                            [](auto& r) { return r.targetType == kCc; });
       }},
      {"a blind copy",
       [](auto& m) {
         return std::any_of(m.recipients.begin(), m.recipients.end(),
                            [](auto& r) { return r.targetType == kBc; });
       }},
      {"a sender without an address, given in FromText",
       [](auto& m) {
         return m.sender.emailAddress.empty() && m.fromText.find(u'<') != std::u16string::npos &&
                m.fromText.find(u'@') != std::u16string::npos;
       }},
      {"accented Latin", [](auto& m) { return HasCodeIn(m.subject, 0xC0, 0x17F); }},
      {"Greek", [](auto& m) { return HasCodeIn(m.subject, 0x370, 0x3FF); }},
      {"Cyrillic", [](auto& m) { return HasCodeIn(m.subject, 0x400, 0x4FF); }},
      {"CJK", [](auto& m) { return HasCodeIn(m.subject, 0x4E00, 0x9FFF); }},
      {"outside the BMP", [](auto& m) { return HasCodeIn(m.subject, 0xD800, 0xDBFF); }},
      {"an empty body",
       [](auto& m) { return m.bodyText.empty() && m.itemClass == ItemClass::kMail; }},
      {"a text file",
       [](auto& m) { return HoldsFile(m, [](auto& a) { return a.fileName == u"figures.txt"; }); }},
      {"a binary file",
       [](auto& m) {
         return HoldsFile(m, [](auto& a) {
           return a.data->find('\0') != std::string::npos && a.data->size() < 1024;
         });
       }},
      {"a file of several megabytes",
       [](auto& m) {
         return HoldsFile(
             m, [](auto& a) { return a.data && a.data->size() > (std::size_t{2} << 20); });
       }},
      {"a file named with a folder and characters Windows refuses",
       [](auto& m) {
         return HoldsFile(m, [](auto& a) {
           return a.fileName.find(u"..\\") == 0 &&
                  a.fileName.find_first_of(u":?") != std::u16string::npos;
         });
       }},
      {"a forwarded mail holding one more",
       [](auto& m) {
         return HoldsAttached(m, ItemClass::kMail,
                              [](auto& inner) { return HoldsAttached(inner, ItemClass::kMail); });
       }},
      {"a forwarded mail without a body",
       [](auto& m) {
         return HoldsAttached(m, ItemClass::kMail,
                              [](auto& inner) { return inner.bodyText.empty(); });
       }},
      {"an attached appointment",
       [](auto& m) { return HoldsAttached(m, ItemClass::kAppointment); }},
      {"an attached task", [](auto& m) { return HoldsAttached(m, ItemClass::kTask); }},
      {"an attached note", [](auto& m) { return HoldsAttached(m, ItemClass::kNote); }},
      {"an attached phone message",
       [](auto& m) { return HoldsAttached(m, ItemClass::kPhoneMessage); }},
      {"an attached document reference",
       [](auto& m) {
         return HoldsAttached(m, ItemClass::kDocumentReference, [](auto& inner) {
           return !inner.documentLibrary.empty() && !inner.documentSubject.empty();
         });
       }},
      {"attachments of the other kinds",
       [](auto& m) {
         std::set<int32_t> kinds;
         for (const Attachment& a : m.attachments)
           kinds.insert(a.objType);
         return kinds == std::set<int32_t>{0, 3, 4, 5, 6};
       }},
      {"exactly the default size limit",
       [](auto& m) { return m.attachments.empty() && TextSize(m) == kSampleMemoLimit; }},
      {"a byte over it",
       [](auto& m) { return m.attachments.empty() && TextSize(m) == kSampleMemoLimit + 1; }},
      {"far over it", [](auto& m) { return TextSize(m) > 50000; }},
      {"filed first elsewhere",
       [](auto& m) { return m.folders.size() == 2 && m.folders[1] == kMailboxFolderId; }},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(std::any_of(inbox.begin(), inbox.end(), [&](auto* m) { return c.second(*m); }))
        << c.first;
  }
}

TEST_F(GroupWiseSimSampleMail, TheQueryLeavesOutTheUsersOwnItemsOtherFoldersAndOtherDays) {
  std::set<std::u16string> found;
  for (const MailMessage* message : Inbox())
    found.insert(message->subject);
  struct Case {
    const char* subject;
    bool found;
  };
  const Case cases[] = {
      {"Late reply", true},              // the last second of today
      {"Site survey photos", true},      // the first second of the range
      {"Just before the range", false},  // the second before it
      {"Last week's newsletter", false},
      {"Re: Quarterly figures", false},  // outgoing
      {"Holiday plans", false},          // a draft
      {"Reminder to myself", false},     // personal
      {"Project plan v2", false},        // in another folder only
      {"Kick-off minutes", true},        // in another folder and in the mailbox
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.subject);
    const std::u16string subject(c.subject, c.subject + std::char_traits<char>::length(c.subject));
    EXPECT_EQ(found.count(subject), c.found ? 1u : 0u);
  }
}

TEST_F(GroupWiseSimSampleMail, EveryFileIsSavedUnderItsNameButTheOneWindowsRefuses) {
  const testing_support::ScratchFolder scratch;
  const fs::path& folder = scratch.Path();
  const std::string prefix = folder.string() + "/";
  int saved = 0;
  for (const MailMessage* message : Inbox()) {
    const Object attachments = Account()
                                   .Call("GetMessage", {Variant(message->messageId)})
                                   .AsObject()
                                   .GetProperty("Attachments")
                                   .AsObject();
    for (int32_t i = 1; i <= attachments.GetProperty("Count").ToInt32(); ++i) {
      const Object attachment = attachments.Call("Item", {i}).AsObject();
      if (attachment.GetProperty("ObjType").ToInt32() != kFileAttachment) continue;
      const std::u16string name = attachment.GetProperty("FileName").AsText();
      SCOPED_TRACE(Utf8(name));
      const std::string error = ErrorOf([&] {
        attachment.Call("Save", {Variant(std::u16string(prefix.begin(), prefix.end()) + name)});
      });
      if (name.find(u'?') != std::u16string::npos) {
        EXPECT_NE(error, "(no error)");
        continue;
      }
      EXPECT_EQ(error, "(no error)");
      ++saved;
    }
  }
  EXPECT_EQ(saved, 7);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), saved);
}

TEST_F(GroupWiseSimSampleMail, NoneOfThePlugInsFoldersExistYet) {
  const Object all = Account().GetProperty("AllFolders").AsObject();
  EXPECT_NE(ErrorOf([&] { all.Call("ItemByName", {u"Z380"}); }), "(no error)");
  std::vector<std::u16string> top;
  for (const std::u16string& id : groupwise.mailbox->topFolders)
    top.push_back(groupwise.mailbox->FindFolder(id)->name);
  EXPECT_EQ(top, (std::vector<std::u16string>{u"Mailbox", u"Cabinet", u"Work In Progress"}));
  EXPECT_EQ(Account().GetProperty("MailBox").AsObject().GetProperty("FolderID").AsText(),
            kMailboxFolderId);
}

TEST_F(GroupWiseSimSampleMail, TheUserAndHerCorrespondentsResolveAndStrangersDoNot) {
  const Mailbox& mailbox = *groupwise.mailbox;
  ASSERT_NE(mailbox.FindKnownAddress(mailbox.ownerEmailAddress), nullptr);
  EXPECT_EQ(mailbox.FindKnownAddress(mailbox.ownerEmailAddress)->displayName, mailbox.ownerName);
  ASSERT_NE(mailbox.FindKnownAddress(u"S.Ivanov@example.com"), nullptr);
  EXPECT_EQ(mailbox.FindKnownAddress(u"S.Ivanov@example.com")->displayName, u"Сергей Иванов");
  for (const char16_t* stranger : {u"news@example.org", u"booking@example.pt", u"mlopez"})
    EXPECT_EQ(mailbox.FindKnownAddress(stranger), nullptr) << Utf8(stranger);
}

}  // namespace
}  // namespace sim
