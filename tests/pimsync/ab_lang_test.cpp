// The address-book language table: which labels are read, from where, and what a user sees
// when they cannot be.

#include <gtest/gtest.h>

#include <filesystem>

#include "pimsync/ab_lang.h"
#include "platform/portable/portable_platform.h"
#include "sim/groupwise/simulated_groupwise.h"

namespace pimsync {
namespace {

using platform::RegistryRoot;

constexpr std::string_view kLanguageKey = "Software\\Novell\\GroupWise\\Interface Language";

class ABLangTest : public testing::Test {
 protected:
  void SetUp() override { platform.env.modulePath = std::string(GWS_RUNTIME_DIR) + "/pimsync.dll"; }
  void SetLanguage(std::string_view value) {
    platform.registry.SetString(RegistryRoot::kCurrentUser, kLanguageKey, "", value);
  }
  platform::PortablePlatform platform;
};

TEST_F(ABLangTest, ReadsTheLabelsOfTheLanguageAndVersion) {
  struct Case {
    const char* name;
    std::optional<std::string> language;
    int minor;
    std::string wantedCode;
    std::string firstName;
    std::string displayName;
  };
  const Case cases[] = {
      {"no_key_is_us", std::nullopt, 5, "US", "First Name", "Display Name"},
      {"old_version_base", std::nullopt, 1, "US", "First Name", "Display Name"},
      {"german_trimmed_and_upper_cased", "  de ", 5, "DE", "Vorname", "Anzeigename"},
      {"german_old", "DE", 0, "DE", "Vorname", "Anzeigename"},
  };
  for (const Case& c : cases) {
    platform::PortablePlatform fresh;
    fresh.env.modulePath = platform.env.modulePath;
    if (c.language)
      fresh.registry.SetString(RegistryRoot::kCurrentUser, kLanguageKey, "", *c.language);
    TABLang table(5, c.minor, fresh);
    EXPECT_TRUE(table.Ready()) << c.name;
    EXPECT_EQ(table.LanguageCode(), c.wantedCode) << c.name;
    EXPECT_EQ(table.Label(ContactField::kFirstName), c.firstName) << c.name;
    // The library's text after a backslash is a note, not part of the label.
    EXPECT_EQ(table.Label(ContactField::kDisplayName), c.displayName) << c.name;
    EXPECT_TRUE(fresh.ui.messageBoxes.empty()) << c.name;
  }
}

TEST_F(ABLangTest, EveryFieldReadsItsOwnStringId) {
  // Each label of the stand-in library is distinct, so a wrong offset shows as a wrong label.
  TABLang table(5, 5, platform);
  ASSERT_TRUE(table.Ready());
  const std::pair<ContactField, const char*> wanted[] = {
      {ContactField::kEmailType, "E-Mail Type"},
      {ContactField::kFax, "Fax Number"},
      {ContactField::kWorkPhone, "Office Phone Number"},
      {ContactField::kComment, "Comments"},
      {ContactField::kStreet, "Address"},
      {ContactField::kPostalCode, "ZIP Code"},
      {ContactField::kNamePrefix, "Prefix"},
      {ContactField::kMobilePhone, "Mobile Phone Number"},
  };
  for (const auto& [field, label] : wanted)
    EXPECT_EQ(table.Label(field), label);
  EXPECT_EQ(table.ResourcePath(), std::string(GWS_RUNTIME_DIR) + "/Abfields.dll");
}

TEST_F(ABLangTest, FailuresAreShownAndLeaveTheTableNotReady) {
  struct Case {
    const char* name;
    std::string language;
    int minor;
    bool libraryThere;
    std::string wantedText;
  };
  const Case cases[] = {
      {"minor_6", "US", 6, true, "This version of GroupWise is not supported."},
      {"unknown_language", "XX", 5, true, "Language not supported."},
      {"version_checked_before_language", "XX", 6, true,
       "This version of GroupWise is not supported."},
      {"library_missing", "US", 5, false, "DLL not found."},
  };
  for (const Case& c : cases) {
    platform::PortablePlatform fresh;
    fresh.env.modulePath =
        c.libraryThere
            ? platform.env.modulePath
            : (std::filesystem::temp_directory_path() / "nowhere" / "pimsync.dll").string();
    fresh.registry.SetString(RegistryRoot::kCurrentUser, kLanguageKey, "", c.language);
    TABLang table(5, c.minor, fresh);
    EXPECT_FALSE(table.Ready()) << c.name;
    EXPECT_EQ(table.LanguageCode(), c.language) << c.name;  // kept even when refused
    ASSERT_EQ(fresh.ui.messageBoxes.size(), 1u) << c.name;
    EXPECT_EQ(fresh.ui.messageBoxes[0].text, c.wantedText) << c.name;
    EXPECT_EQ(fresh.ui.messageBoxes[0].caption, "Address Book Language Error") << c.name;
    EXPECT_EQ(fresh.ui.messageBoxes[0].style, platform::mb::kSetForeground) << c.name;
    EXPECT_EQ(table.Label(ContactField::kFirstName), "") << c.name;
  }
}

// The label library is there but the system cannot load it (a damaged file).
class UnloadableLibraryPlatform final : public platform::Platform {
 public:
  platform::UserInterface& Ui() override { return inner.Ui(); }
  platform::Environment& Env() override { return inner.Env(); }
  platform::ObjectFactory& Objects() override { return inner.Objects(); }
  const platform::CodePage& Ansi() override { return inner.Ansi(); }
  platform::Registry& Reg() override { return inner.Reg(); }
  platform::ResourceLoader& Resources() override { return loader; }

  struct : platform::ResourceLoader {
    bool LibraryExists(const std::string&) override { return true; }
    std::unique_ptr<platform::ResourceLibrary> Load(const std::string&) override { return {}; }
  } loader;
  platform::PortablePlatform inner;
};

TEST_F(ABLangTest, ALibraryThatWillNotLoadIsShownAsSuch) {
  UnloadableLibraryPlatform damaged;
  damaged.inner.env.modulePath = platform.env.modulePath;
  TABLang table(5, 5, damaged);
  EXPECT_FALSE(table.Ready());
  ASSERT_EQ(damaged.inner.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(damaged.inner.ui.messageBoxes[0].text, "DLL failed to load.");
}

TEST_F(ABLangTest, TheAddressBookOwnNamesReplaceTheLibrarysLabels) {
  sim::GroupWise groupwise;
  sim::AddressBook book;
  book.name = u"Friends";
  book.definitions = {{973471774, u"Given name"},      // first name
                      {974192670, u"Surname"},         // last name
                      {973471774, u"Christian name"},  // first name again: the last one counts
                      {12345, u"Not ours"}};
  groupwise.mailbox->addressBooks.push_back(std::move(book));
  const platform::Object account =
      groupwise.CreateSession()
          .Call("Login", {platform::Variant(u""), platform::Variant(u""), platform::Variant(u""),
                          platform::Variant(int16_t{1})})
          .ToObject();
  const platform::Object friends =
      account.GetProperty("AddressBooks").ToObject().Call("Item", {int32_t{1}}).ToObject();

  TABLang oldModel(1, 1, platform);
  LoadFieldNames(oldModel, friends, IsOldObjectModel("1.1"), platform.ansi);
  EXPECT_EQ(oldModel.Label(ContactField::kFirstName), "First Name");  // untouched

  TABLang table(5, 5, platform);
  // A definition that cannot be read is passed over, the others still count.
  groupwise.context->faults.RaiseOnCall("FieldDefinition.FieldID", 2, "unreadable");
  LoadFieldNames(table, friends, IsOldObjectModel("5.5"), platform.ansi);
  EXPECT_EQ(table.Label(ContactField::kFirstName), "Christian name");
  EXPECT_EQ(table.Label(ContactField::kLastName), "Last Name");  // its definition failed
  EXPECT_EQ(table.Label(ContactField::kCity), "City");
}

TEST(ObjectModel, IsOldWhenTheVersionTextSortsBefore2Point0) {
  EXPECT_TRUE(IsOldObjectModel("1.2"));
  EXPECT_TRUE(IsOldObjectModel("10.0"));  // compared as text
  EXPECT_FALSE(IsOldObjectModel("2.0"));
  EXPECT_FALSE(IsOldObjectModel("5.5"));
}

}  // namespace
}  // namespace pimsync
