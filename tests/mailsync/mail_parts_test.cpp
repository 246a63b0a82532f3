// The parts of the mail plug-in that need no mailbox: addresses, file names from subjects,
// extension lists, the attachment property, the folder-name dialog's rule and the private
// temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "framework/module_globals.h"
#include "mailsync/attachments.h"
#include "mailsync/folder_name_dialog.h"
#include "mailsync/mail_text.h"
#include "platform/temp_folder.h"
#include "tests/support/bytes.h"
#include "tests/support/plugin_harness.h"
#include "tests/support/scratch_folder_test.h"

namespace mailsync {
namespace {

TEST(MailText, ExtractEmailAddressTakesTheWordAroundTheAt) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"Jane Doe <jane.doe@example.com>", "jane.doe@example.com"},
      {"jane@example.com (Jane)", "jane@example.com"},
      {"jane@example.com", "jane@example.com"},
      {"Jane Doe", "Jane Doe"},
      {"@example.com", "@example.com"},
      {"jane@", "jane@"},
      {"", ""},
      {"a@b@c", "a@b@c"},  // up to a blank or a bracket only
  };
  for (const auto& [text, wanted] : cases)
    EXPECT_EQ(ExtractEmailAddress(text), wanted) << text;
}

TEST(MailText, SanitizeSubjectMakesANameEveryFileSystemTakes) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"Re: Budget? 2001", "Re Budget_ 2001"},
      {"  \"Quoted\" 'too'  ", "Quoted too"},
      {"v1.2 | final*", "v1_2 _ final^"},
      {"..\\..\\etc/passwd", "______etc_passwd"},
      {"a<b>c\td", "a_b_c_d"},
      {"   ", ""},
  };
  for (const auto& [subject, wanted] : cases) {
    EXPECT_EQ(SanitizeSubject(subject), wanted) << subject;
  }
}

TEST(MailText, ExtensionsAndNames) {
  EXPECT_EQ(ExtensionOf("report.final.DOC"), ".DOC");
  EXPECT_EQ(ExtensionOf("README"), "");
  EXPECT_EQ(FileNamePart("..\\dir/report:v2?.txt"), "report:v2?.txt");
  EXPECT_TRUE(FileNamePart(std::u16string_view(u"C:\\a\\b.doc")) == u"b.doc");
  const std::vector<std::string> list = {".DOC", ".txt"};
  EXPECT_TRUE(HasExtension(list, ".doc"));
  EXPECT_TRUE(HasExtension(list, ".TXT"));
  EXPECT_FALSE(HasExtension(list, ".pdf"));
  EXPECT_FALSE(HasExtension(list, ""));
}

TEST(MailText, CommaTextSplitsAtCommasAndBlanksAndHonoursQuotes) {
  const std::pair<std::string_view, std::vector<std::string>> cases[] = {
      {".DOC,.TXT", {".DOC", ".TXT"}}, {" .DOC , .TXT ", {".DOC", ".TXT"}},
      {".DOC .TXT", {".DOC", ".TXT"}}, {"\"my ext\",.PDF", {"my ext", ".PDF"}},
      {"\"a\"\"b\"", {"a\"b"}},        {".DOC,,.TXT", {".DOC", "", ".TXT"}},
      {".DOC,", {".DOC", ""}},         {"", {}},
  };
  for (const auto& [text, wanted] : cases)
    EXPECT_EQ(ParseCommaText(text), wanted) << text;
}

TEST(MailAttachment, PropertyCarriesNamePositionLengthAndBytes) {
  platform::Windows1252 ansi;
  framework::TEntry entry;
  TBinaryAttachment{u"a.txt", "abc"}.AppendTo(entry, ansi, 1);
  TBinaryAttachment{u"b.doc", std::string("\0\x01\xFF", 3)}.AppendTo(entry, ansi, 2);
  TBinaryAttachment{u"\u00DCbersicht.txt", ""}.AppendTo(entry, ansi, 12);
  ASSERT_EQ(entry.Properties.Count(), 3u);
  EXPECT_EQ(entry.Properties[0].Parameters, "NAME=a.txt;VALUE=BINARY;CHARSET=UTF-8");
  EXPECT_EQ(entry.Properties[0].Value, "a.txt;*00000003*abc");
  EXPECT_EQ(entry.Properties[1].Parameters, "NAME=b.doc;VALUE=BINARY;CHARSET=UTF-8;2");
  EXPECT_EQ(entry.Properties[1].Value, std::string("b.doc;*00000003*\0\x01\xFF", 19));
  // The name: the ANSI code page in the parameter, UTF-8 in the value.
  EXPECT_EQ(entry.Properties[2].Parameters,
            "NAME=\xDC"
            "bersicht.txt;VALUE=BINARY;CHARSET=UTF-8;12");
  EXPECT_EQ(entry.Properties[2].Value,
            "\xC3\x9C"
            "bersicht.txt;*00000000*");
}

TEST(MailAttachment, ClassNamesGiveKindAndLabelTheLastMatchWinning) {
  struct Case {
    std::u16string_view className;
    MessageKind kind;
    std::string_view label;
  };
  const Case cases[] = {
      {u"GW.MESSAGE.APPOINTMENT", MessageKind::kAppointment, "Appt"},
      {u"GW.MESSAGE.DOCUMENTREFERENCE", MessageKind::kDocumentReference, "Doc ref"},
      {u"GW.MESSAGE.MAIL", MessageKind::kMail, "Mail"},
      {u"GW.MESSAGE.MAIL.Custom", MessageKind::kMail, "Mail"},
      {u"GW.MESSAGE.NOTE", MessageKind::kNote, "Note"},
      {u"GW.MESSAGE.PHONE", MessageKind::kPhone, "Phone msg"},
      {u"GW.MESSAGE.TASK", MessageKind::kTask, "Task"},
      {u"Something else", MessageKind::kMail, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MessageKindOf(c.className), c.kind);
    EXPECT_EQ(KindLabelOf(c.className), c.label);
  }
}

// An attached item as a plain automation object: each member a value, or a failure of either
// kind from its Nth call on.
class FakeItem final : public platform::Dispatch {
 public:
  enum class Failure { kAutomation, kOther };
  struct Fault {
    Failure kind;
    int fromCall;
  };

  static platform::Object With(std::map<std::string, platform::Variant> values,
                               std::map<std::string, Fault> faults = {}) {
    auto item = std::make_shared<FakeItem>();
    item->values_ = std::move(values);
    item->faults_ = std::move(faults);
    return platform::Object(item);
  }
  static platform::Object Text(std::u16string text) {
    return With({{"PlainText", platform::Variant(std::move(text))}});
  }

  platform::Variant InvokeMember(std::string_view name, Invoke,
                                 std::span<const platform::Variant>) override {
    const std::string member(name);
    const auto fault = faults_.find(member);
    if (fault != faults_.end() && ++calls_[member] >= fault->second.fromCall) {
      if (fault->second.kind == Failure::kAutomation) {
        throw platform::AutomationError(member, platform::hresult::kFail, "Simulated failure");
      }
      throw platform::Exception("Out of disk space");
    }
    const auto value = values_.find(member);
    if (value == values_.end()) {
      throw platform::AutomationError(member, platform::hresult::kUnknownName, "Unknown name");
    }
    return value->second;
  }

 private:
  std::map<std::string, platform::Variant> values_;
  std::map<std::string, Fault> faults_;
  std::map<std::string, int> calls_;
};

// What the device finds in place of an item GroupWise cannot render: an automation failure,
// any other failure with its reason, and a failure past the item's own text noted after it.
TEST(MailAttachment, RenderingFailuresGiveTheirTexts) {
  using Failure = FakeItem::Failure;
  struct Case {
    const char* name;
    std::map<std::string, FakeItem::Fault> faults;
    std::string text;
  };
  const std::string rendered = testing_support::Crlf(
      "From: bo@example.com|Subject: Lunch||Soup||=============================="
      "|");
  const Case cases[] = {
      {"none", {}, rendered},
      {"automation",
       {{"FromText", {Failure::kAutomation, 1}}},
       "A problem with this GroupWise message prevented its contents from being extracted."},
      {"other",
       {{"FromText", {Failure::kOther, 1}}},
       "Unable to extract GroupWise message contents: reason [Out of disk space]"},
      {"attached items",
       {{"Attachments", {Failure::kAutomation, 2}}},
       rendered + "Unreadable message in GroupWise"},
  };
  testing_support::HostHarness host;
  for (const Case& c : cases) {
    const platform::Object item = FakeItem::With(
        {{"ClassName", platform::Variant(u"GW.MESSAGE.MAIL")},
         {"Subject", platform::Variant(FakeItem::Text(u"Lunch"))},
         {"BodyText", platform::Variant(FakeItem::Text(u"Soup"))},
         {"Sender", platform::Variant(FakeItem::With({{"EmailAddress", platform::Variant(u"")}}))},
         {"FromText", platform::Variant(u"Bo <bo@example.com>")},
         {"Attachments", platform::Variant(FakeItem::With({{"Count", platform::Variant(0)}}))}},
        c.faults);
    const TAttachmentProcessor processor(host.platform, item);
    EXPECT_EQ(processor.FileName(), "Mail - Lunch.txt") << c.name;
    EXPECT_EQ(processor.Text(), c.text) << c.name;
  }
}

// The plug-in's module strings, as a host loads them beside the DLL.
struct ModuleHost {
  ModuleHost() {
    host.platform.env.modulePath = std::string(GWS_RUNTIME_DIR) + "/mailsync.dll";
    resources.emplace(host.platform.env, host.platform.resources, host.platform.ui);
  }
  testing_support::HostHarness host;
  std::optional<framework::ModuleResourcesScope> resources;
};

TEST(FolderNameDialog, OnlyAnEmptyNameIsRefusedAndTheDialogMayEndWithoutOk) {
  struct Case {
    const char* name;
    std::deque<std::optional<std::string>> answers;
    std::optional<std::string> wanted;
    std::size_t refusals;
  };
  const Case cases[] = {
      {"enter_on_the_proposal", {"Z380"}, "Z380", 0},
      {"blanks_are_a_name", {"   "}, "   ", 0},
      {"empty_then_a_name", {"", "Handheld"}, "Handheld", 1},
      {"empty_then_closed", {"", std::nullopt}, std::nullopt, 1},
      {"closed", {std::nullopt}, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    ModuleHost module;
    platform::ScriptedUserInterface& ui = module.host.platform.ui;
    ui.folderNames.answers = c.answers;
    TFolderNameClass dialog(module.host.platform);
    dialog.SetFolderName("Z380");
    const bool ok = dialog.ShowModal(42);
    EXPECT_EQ(ok, c.wanted.has_value()) << c.name;
    if (c.wanted) {
      EXPECT_EQ(dialog.FolderName(), *c.wanted) << c.name;
    }
    ASSERT_EQ(ui.folderNameDialogs.size(), 1u);
    EXPECT_EQ(ui.folderNameDialogs[0].owner, 42u);
    EXPECT_EQ(ui.folderNameDialogs[0].proposed, "Z380");
    EXPECT_EQ(ui.folderNameDialogs[0].texts.caption, framework::LoadModuleString(288));
    EXPECT_EQ(ui.folderNameDialogs[0].texts.label, framework::LoadModuleString(290));
    ASSERT_EQ(ui.messageBoxes.size(), c.refusals) << c.name;
    if (c.refusals) {
      EXPECT_EQ(ui.messageBoxes[0].text, framework::LoadModuleString(291));
      EXPECT_EQ(ui.messageBoxes[0].caption, framework::LoadModuleString(292));
      EXPECT_EQ(ui.messageBoxes[0].owner, 0u);
      EXPECT_EQ(ui.messageBoxes[0].style, platform::mb::kSetForeground);
    }
    // The announcing beep, then an exclamation for each refusal.
    ASSERT_EQ(ui.beeps.size(), 1 + c.refusals) << c.name;
    if (c.refusals) {
      EXPECT_EQ(ui.beeps[1], platform::mb::kIconExclamation);
    }
  }
}

class PrivateTempFolder : public testing_support::ScratchFolderTest {
 protected:
  PrivateTempFolder() : ScratchFolderTest("gws_temp_folder") {}
};

TEST_F(PrivateTempFolder, IsNewEachTimeAndGoesWithEverythingInIt) {
  platform::PortableEnvironment env;
  env.tempDirectory = Path("");
  Write("user.txt", "the user's own file");
  std::string first, second;
  {
    platform::TempFolder a = platform::TempFolder::Create(env, "CRV");
    platform::TempFolder b = platform::TempFolder::Create(env, "CRV");
    first = a.Path();
    second = b.Path();
    EXPECT_NE(first, second);
    std::ofstream(a.FileIn("user.txt")) << "saved attachment";
    std::filesystem::create_directory(a.FileIn("inner"));
    std::ofstream(a.FileIn("inner/deep.txt")) << "x";
  }
  EXPECT_FALSE(std::filesystem::exists(first));
  EXPECT_FALSE(std::filesystem::exists(second));
  EXPECT_EQ(Names(), std::vector<std::string>{"user.txt"});
  EXPECT_EQ(Read("user.txt"), "the user's own file");
}

}  // namespace
}  // namespace mailsync
