// Contacts from the host into the simulated address book: every row of the mapping, the
// display name in the user's format, entries found by their identity in any letter case, and
// names in any script kept as they are.

#include <gtest/gtest.h>

#include <map>

#include "pimsync/contact.h"
#include "tests/pimsync/contacts_harness.h"

namespace pimsync {
namespace {

using testing_harness::ContactsHost;
using testing_harness::ContactsTest;
using testing_harness::kCon;
using testing_support::Crlf;
using testing_support::FirstDifference;

constexpr std::u16string_view kUid = u"{0A0A0A0A-0000-4000-8000-000000000001}";
constexpr std::string_view kDisplayNameKey =
    "Software\\Novell\\GroupWise\\Address Book - User Interface";

TEST(ContactDisplayName, FollowsTheUsersFormat) {
  struct Case {
    std::optional<std::u16string_view> format;
    std::u16string_view first, last, wanted;
  };
  const Case cases[] = {
      {std::nullopt, u"John", u"Smith", u"John Smith"},
      {u"L, F", u"John", u"Smith", u"Smith, John"},
      {u"F L", u"John", u"Smith", u"John Smith"},
      {u"f l", u"John", u"Smith", u"John Smith"},  // no upper-case letters: the default
      {u"F", u"John", u"Smith", u"John Smith"},
      {u"l, F (L)", u"John", u"Smith", u"Smith, John (L)"},  // only the first of each
      {u"L, F", u"Fleur", u"Lamb", u"Lamb, Fleur"},
      {u"L, F", u"<LAST_NAME>", u"Smith", u"Smith, <LAST_NAME>"},  // names are not formats
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(ComposeDisplayName(c.format, c.first, c.last) == c.wanted)
        << framework::Utf16ToUtf8(c.format.value_or(u"(none)"));
  }
}

// One property at a time onto an entry whose every field reads "old".
TEST(ContactMapping, EachPropertyWritesItsFields) {
  struct Case {
    const char* property;
    std::map<std::u16string, std::u16string> changed;
    bool oldObjectModel = false;
  };
  const Case cases[] = {
      {"N;CHARSET=UTF-8:Smith;John;;Mr.;",
       {{u"First Name", u"John"},
        {u"Last Name", u"Smith"},
        {u"Prefix", u"Mr."},
        {u"Display Name", u"John Smith"}}},
      {"ADR;HOME:Room 1;;1 Main St;Springfield;IL;62701;USA",
       {{u"Office", u"Room 1"},
        {u"Address", u"1 Main St"},
        {u"City", u"Springfield"},
        {u"State", u"IL"},
        {u"ZIP Code", u"62701"},
        {u"Country", u"USA"}}},
      {"TEL;HOME;VOICE:1", {{u"Home Phone Number", u"1"}}},
      {"TEL;HOME;VOICE;1:2", {{u"Home Phone Number", u"2"}}},
      {"TEL;WORK;VOICE;CELL:3", {{u"Mobile Phone Number", u"3"}}},
      {"TEL;WORK;VOICE;CELL;1:3", {{u"Mobile Phone Number", u"3"}}},
      {"TEL;WORK;VOICE:4", {{u"Office Phone Number", u"4"}}},
      {"TEL;WORK;VOICE;1:4", {{u"Office Phone Number", u"4"}}},
      {"TEL;WORK;FAX:5", {{u"Fax Number", u"5"}}},
      {"TEL;WORK;FAX;1:5", {{u"Fax Number", u"5"}}},
      {"EMAIL;INTERNET;WORK:a@example.com", {{u"E-Mail Address", u"a@example.com"}}},
      {"EMAIL;INTERNET;WORK;1:a@example.com", {{u"E-Mail Address", u"a@example.com"}}},
      {"ORG:Acme;Sales", {{u"Organization", u"Acme"}}},
      {"ORG:Acme", {{u"Organization", u""}}},  // no ";": no components at all
      {"TITLE:Boss", {{u"Title", u"Boss"}}},
      {"TITLE;QUOTED-PRINTABLE;CHARSET=UTF-8:Директор", {{u"Title", u"Директор"}}},
      {"NOTE;QUOTED-PRINTABLE:a=0D=0A=\r\nb", {{u"Comments", u"a\r\nb"}}},
      {"NOTE:a", {{u"Comments", u"a   "}}, /*oldObjectModel=*/true},
  };
  for (const Case& c : cases) {
    ContactsHost t;
    if (c.oldObjectModel) t.pim.groupwise.mailbox->majorVersion = 1;
    sim::AddressBook& book = t.NewBook(u"SYNCH");
    sim::BookEntry& entry = t.AddEntry(book, {{u"PMTPIUID", std::u16string(kUid)}});
    for (const sim::FieldDefinition& definition : book.definitions) {
      if (definition.name != u"PMTPIUID")
        entry.fields.push_back({definition.name, definition.fieldId, u"old"});
    }
    t.pim.Start();
    std::string record = Crlf("BEGIN:VCARD|UID:" + framework::Utf16ToUtf8(kUid) + "|") +
                         c.property + Crlf("|END:VCARD|");
    ASSERT_EQ(t.pim.Write(2, record, kCon), 0) << c.property << t.TraceText();
    for (const sim::EntryField& field : t.Book()->entries[0].fields) {
      const auto wanted = c.changed.find(field.name);
      const std::u16string expected = field.name == u"PMTPIUID"
                                          ? std::u16string(kUid)
                                          : (wanted == c.changed.end() ? u"old" : wanted->second);
      EXPECT_TRUE(field.value == expected)
          << c.property << ": " << framework::Utf16ToUtf8(field.name) << " = "
          << framework::Utf16ToUtf8(field.value);
    }
  }
}

// A device contact in Greek arrives in GroupWise as Greek, and comes back byte for byte; the
// parts of the record the mapping does not know are left out.
TEST_F(ContactsTest, AnInsertStoresTheContactWithANewIdentityAndReturnsIt) {
  NewBook(u"Synch", /*withUidField=*/false);
  pim.host.platform.registry.SetString(platform::RegistryRoot::kCurrentUser, kDisplayNameKey,
                                       "Display Name Format", "L, F");
  pim.Start();
  pim.host.platform.env.guidsToMake = {framework::Utf16ToUtf8(kUid)};
  const std::string name = "N;QUOTED-PRINTABLE;CHARSET=UTF-8:Παπαδοπούλου;Ελένη;;;";
  std::string record = Crlf("BEGIN:VCARD|VERSION:2.1|") + name +
                       Crlf(
                           "|TEL;CELL:+30 1|ADR;WORK:a;;b;c;d;e;f|X-EXTRA:1|"
                           "TEL;WORK;VOICE;CELL:+30 21 0123 4567|END:VCARD|");
  ASSERT_EQ(pim.Write(1, record, kCon), 0) << Shown();

  const sim::BookEntry* stored = EntryWithUid(kUid);
  ASSERT_NE(stored, nullptr);
  EXPECT_TRUE(FieldOf(*stored, u"First Name") == u"Ελένη");
  EXPECT_TRUE(FieldOf(*stored, u"Display Name") == u"Παπαδοπούλου, Ελένη");
  EXPECT_TRUE(FieldOf(*stored, u"E-Mail Type") == u"INTERNET");
  EXPECT_TRUE(FieldOf(*stored, u"Mobile Phone Number") == u"+30 21 0123 4567");
  EXPECT_TRUE(FieldOf(*stored, u"Office") == u"<none>");
  EXPECT_EQ(FirstDifference(record, Crlf("BEGIN:VCARD|VERSION:1.0|BEGIN:VCARD|UID:" +
                                         framework::Utf16ToUtf8(kUid) + "|") +
                                        name +
                                        Crlf("|ADR;HOME;QUOTED-PRINTABLE:;;;;;;|TEL;HOME;VOICE:|"
                                             "TEL;WORK;VOICE;CELL:+30 21 0123 4567|"
                                             "ORG;QUOTED-PRINTABLE:;|TITLE:|TEL;WORK;VOICE:|"
                                             "TEL;WORK;FAX:|EMAIL;INTERNET;WORK:|"
                                             "NOTE;QUOTED-PRINTABLE:|END:VCARD|END:VCARD|")),
            "");

  std::string stream;
  ASSERT_EQ(pim.Read(stream, kCon), 0);
  EXPECT_NE(stream.find("\r\n" + name + "\r\n"), std::string::npos) << stream;
}

// The host is told the insert failed and sends it again: the entry made for it must go.
TEST_F(ContactsTest, AFailedInsertLeavesNoEntryAndTellsTheUser) {
  NewBook(u"SYNCH");
  pim.Start();
  pim.groupwise.context->faults.RaiseAlways("AddressBookEntry.Refresh", "Disk full");
  std::string record = Crlf("BEGIN:VCARD|N:Smith;John|END:VCARD|");
  const std::string sent = record;
  EXPECT_EQ(pim.Write(1, record, kCon), 1);
  EXPECT_EQ(record, sent);
  EXPECT_TRUE(Book()->entries.empty());
  ASSERT_EQ(pim.host.platform.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(pim.host.platform.ui.messageBoxes[0].text, "UpdateMessage failed");
  EXPECT_EQ(pim.host.platform.ui.messageBoxes[0].caption, "TISYNCHAPPU.AddPIMContact");
}

TEST_F(ContactsTest, ModifyAndDeleteFindTheEntryByItsIdentityInAnyCase) {
  struct Case {
    const char* name;
    int16_t op;
    std::string uid;
    bool withEntries;
    int32_t result;
  };
  const Case cases[] = {
      {"modify_lower_case", 2, "{0a0a0a0a-0000-4000-8000-000000000001}", true, 0},
      {"delete_lower_case", 3, "{0a0a0a0a-0000-4000-8000-000000000001}", true, 0},
      {"modify_unknown", 2, "{0A0A0A0A-0000-4000-8000-000000000002}", true, 1},
      {"delete_unknown", 3, "{0A0A0A0A-0000-4000-8000-000000000002}", true, 1},
      {"modify_in_empty_book", 2, "{0A0A0A0A-0000-4000-8000-000000000001}", false, 1},
      {"delete_in_empty_book", 3, "{0A0A0A0A-0000-4000-8000-000000000001}", false, 1},
  };
  for (const Case& c : cases) {
    ContactsHost t;
    sim::AddressBook& book = t.NewBook(u"Synch");
    if (c.withEntries) {
      // A group with the same identity is never the one found.
      t.AddEntry(book, {{u"PMTPIUID", std::u16string(kUid)}}, 2);
      t.AddEntry(book, {{u"Last Name", u"Old"}, {u"PMTPIUID", std::u16string(kUid)}});
    }
    t.pim.Start();
    std::string record = Crlf("BEGIN:VCARD|UID:" + c.uid + "|N:New;|END:VCARD|");
    EXPECT_EQ(t.pim.Write(c.op, record, kCon), c.result) << c.name;
    const auto& entries = t.Book()->entries;
    if (!c.withEntries) continue;
    const bool deleted = c.op == 3 && c.result == 0;
    ASSERT_EQ(entries.size(), deleted ? 1u : 2u) << c.name;
    EXPECT_EQ(entries[0].objType, 2) << c.name;
    if (!deleted) {
      EXPECT_TRUE(ContactsHost::FieldOf(entries[1], u"Last Name") ==
                  (c.op == 2 && c.result == 0 ? u"New" : u"Old"))
          << c.name;
    }
    if (c.op == 2 && c.result == 1) {
      EXPECT_TRUE(t.pim.Traced("Exception [Could not locate address book entry to modify: " +
                               c.uid + "] in TISYNCHAPPU.ModifyPIMContact"))
          << c.name << t.TraceText();
    }
  }
}

}  // namespace
}  // namespace pimsync
