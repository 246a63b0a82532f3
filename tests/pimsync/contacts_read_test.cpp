// Contacts from the simulated address book to the host: the book found or created, user entries
// only, identities given to entries that lack one, both of GroupWise's object models.

#include <gtest/gtest.h>

#include "tests/pimsync/contacts_harness.h"

namespace pimsync {
namespace {

using testing_harness::ContactsHost;
using testing_harness::ContactsTest;
using testing_harness::kCon;
using testing_support::Crlf;
using testing_support::FirstDifference;

// Every field of the catalogue filled, in a script that needs UTF-8, and one that needs none.
void AddTwoContactsAndAGroup(ContactsHost& t, sim::AddressBook& book) {
  t.AddEntry(book, {{u"First Name", u"Jürgen"},
                    {u"Last Name", u"Groß"},
                    {u"Prefix", u"Dr."},
                    {u"Display Name", u"Jürgen Groß"},
                    {u"Title", u"Geschäftsführer"},
                    {u"Organization", u"Müller & Söhne"},
                    {u"Department", u"Vertrieb"},
                    {u"Office", u"3.14"},
                    {u"Address", u"Hauptstraße 5"},
                    {u"City", u"München"},
                    {u"State", u"BY"},
                    {u"ZIP Code", u"80331"},
                    {u"Country", u"Deutschland"},
                    {u"Office Phone Number", u"+49 89 1"},
                    {u"Home Phone Number", u"+49 89 2"},
                    {u"Mobile Phone Number", u"+49 170 3"},
                    {u"Fax Number", u"+49 89 4"},
                    {u"E-Mail Address", u"j@example.de"},
                    {u"E-Mail Type", u"INTERNET"},
                    {u"Comments", u"Line 1\r\nLine 2"},
                    {u"PMTPIUID", u"{00000000-0000-0000-0000-00000000000A}"}});
  t.AddEntry(book, {{u"Display Name", u"Project team"}}, 2);
  t.AddEntry(book, {{u"First Name", u"Ann"},
                    {u"Last Name", u"Lee"},
                    {u"PMTPIUID", u"{00000000-0000-0000-0000-00000000000B}"}});
}

const std::string kTwoContacts = Crlf(
    "BEGIN:VCARD|VERSION:2.1|"
    "BEGIN:VCARD|UID:{00000000-0000-0000-0000-00000000000A}|"
    "N;QUOTED-PRINTABLE;CHARSET=UTF-8:Groß;Jürgen;;Dr.;|"
    "ADR;HOME;QUOTED-PRINTABLE;CHARSET=UTF-8:3.14;;Hauptstraße 5;München;BY;80331;Deutschland|"
    "TEL;HOME;VOICE:+49 89 2|TEL;WORK;VOICE;CELL:+49 170 3|"
    "ORG;QUOTED-PRINTABLE;CHARSET=UTF-8:Müller & Söhne;|"
    "TITLE;QUOTED-PRINTABLE;CHARSET=UTF-8:Geschäftsführer|"
    "TEL;WORK;VOICE:+49 89 1|TEL;WORK;FAX:+49 89 4|EMAIL;INTERNET;WORK:j@example.de|"
    "NOTE;QUOTED-PRINTABLE:Line 1=0D=0A=|Line 2|END:VCARD|"
    "BEGIN:VCARD|UID:{00000000-0000-0000-0000-00000000000B}|N;QUOTED-PRINTABLE:Lee;Ann;;;|"
    "ADR;HOME;QUOTED-PRINTABLE:;;;;;;|TEL;HOME;VOICE:|TEL;WORK;VOICE;CELL:|"
    "ORG;QUOTED-PRINTABLE:;|TITLE:|TEL;WORK;VOICE:|TEL;WORK;FAX:|EMAIL;INTERNET;WORK:|"
    "NOTE;QUOTED-PRINTABLE:|END:VCARD|"
    "END:VCARD");

TEST_F(ContactsTest, ReadSendsEveryUserEntryOfTheBookFoundInOtherCaseUnderBothObjectModels) {
  struct Case {
    const char* name;
    int16_t major;
    int16_t minor;
  };
  for (const Case& c : {Case{"field_identifiers", 5, 5}, Case{"labels_only", 1, 5}}) {
    ContactsHost t;
    t.pim.groupwise.mailbox->majorVersion = c.major;
    t.pim.groupwise.mailbox->minorVersion = c.minor;
    AddTwoContactsAndAGroup(t, t.NewBook(u"Synch"));
    t.pim.Start();
    std::string stream;
    ASSERT_EQ(t.pim.Read(stream, kCon), 0) << c.name << t.pim.TraceText();
    EXPECT_EQ(FirstDifference(stream, kTwoContacts), "") << c.name;
    EXPECT_TRUE(t.pim.Traced("TISYNCHAPPU.GetPIMContacts: FAddressBk renamed to: Synch")) << c.name;
    EXPECT_TRUE(
        t.pim.Traced("TISYNCHAPPU.GetPIMContacts: 3 entries located (not all may be user entries)"))
        << c.name;
    // The group takes no step of the bar.
    EXPECT_EQ(t.pim.host.progress->CallsOf("SetValue"),
              (std::vector<std::string>{"SetValue(\"0\")", "SetValue(\"1\")", "SetValue(\"2\")",
                                        "SetValue(\"0\")"}))
        << c.name;
    EXPECT_EQ(t.pim.groupwise.mailbox->addressBooks.size(), 1u) << c.name;
  }
}

// GroupWise in another language names its fields otherwise; identifiers still find them, and
// the writes that follow a read use the book's own names.
TEST_F(ContactsTest, TheBooksOwnFieldNamesServeReadAndWrite) {
  sim::AddressBook& book = NewBook(u"Synch");
  for (sim::FieldDefinition& definition : book.definitions) {
    if (definition.name == u"First Name") definition.name = u"Vorname";
  }
  AddEntry(book,
           {{u"Vorname", u"Jürgen"}, {u"PMTPIUID", u"{00000000-0000-0000-0000-00000000000A}"}});
  pim.Start();
  std::string stream;
  ASSERT_EQ(pim.Read(stream, kCon), 0);
  EXPECT_NE(stream.find("N;QUOTED-PRINTABLE;CHARSET=UTF-8:;Jürgen;;;"), std::string::npos)
      << stream;

  std::string record = Crlf(
      "BEGIN:VCARD|VERSION:2.1|UID:{00000000-0000-0000-0000-00000000000a}|N:Gross;Juergen|"
      "END:VCARD|");
  ASSERT_EQ(pim.Write(2, record, kCon), 0) << TraceText();
  EXPECT_EQ(FieldOf(*EntryWithUid(u"{00000000-0000-0000-0000-00000000000A}"), u"Vorname"),
            u"Juergen");
}

TEST_F(ContactsTest, AMissingBookIsCreatedUnderTheSettingsName) {
  pim.Start();
  std::string stream;
  ASSERT_EQ(pim.Read(stream, kCon), 0) << TraceText();
  EXPECT_EQ(stream, "BEGIN:VCARD\r\nVERSION:2.1\r\nEND:VCARD");
  ASSERT_EQ(pim.groupwise.mailbox->addressBooks.size(), 1u);
  EXPECT_TRUE(pim.groupwise.mailbox->addressBooks[0].name == u"SYNCH");
  EXPECT_TRUE(pim.Traced("TISYNCHAPPU.GetPIMContacts: Book not found - about to create"));
}

// An entry seen for the first time, or with an empty identity, is given one that it keeps:
// the second read sends the same UIDs and makes none.
TEST_F(ContactsTest, EntriesWithoutAnIdentityAreGivenOneThatTheyKeep) {
  sim::AddressBook& book = NewBook(u"Synch", /*withUidField=*/false);
  AddEntry(book, {{u"Last Name", u"Without"}});
  AddEntry(book, {{u"Last Name", u"Kept"}});
  pim.Start();
  pim.host.platform.env.guidsToMake = {"{11111111-1111-4111-8111-111111111111}",
                                       "{22222222-2222-4222-8222-222222222222}"};
  std::string first;
  ASSERT_EQ(pim.Read(first, kCon), 0);
  // Now the book defines the field; an entry whose identity is empty is treated alike.
  AddEntry(*Book(), {{u"Last Name", u"Empty"}, {u"PMTPIUID", u""}});
  pim.host.platform.env.guidsToMake = {"{33333333-3333-4333-8333-333333333333}"};
  ASSERT_EQ(pim.Read(first, kCon), 0);
  EXPECT_TRUE(pim.host.platform.env.guidsToMake.empty());

  const std::u16string expected[] = {u"{11111111-1111-4111-8111-111111111111}",
                                     u"{22222222-2222-4222-8222-222222222222}",
                                     u"{33333333-3333-4333-8333-333333333333}"};
  std::size_t i = 0;
  for (const sim::BookEntry& entry : Book()->entries) {
    EXPECT_EQ(FieldOf(entry, u"PMTPIUID"), expected[i]) << i;
    EXPECT_NE(first.find("UID:" + framework::Utf16ToUtf8(expected[i]) + "\r\n"), std::string::npos)
        << i;
    ++i;
  }
  std::string second;
  pim.host.platform.env.guidFails = true;  // a read that made one more would fail an entry
  ASSERT_EQ(pim.Read(second, kCon), 0);
  EXPECT_EQ(FirstDifference(second, first), "");
}

// GroupWise refusing the identity field: the contact is still sent (leaving it out would have
// the host delete it on the device), under the fixed text, and the user learns which one.
TEST_F(ContactsTest, AContactWhoseIdentityCannotBeStoredIsSentAndNamedInTheLog) {
  sim::AddressBook& book = NewBook(u"Synch", /*withUidField=*/false);
  AddEntry(book, {{u"First Name", u"Ελένη"}, {u"Last Name", u"Ray"}});
  AddEntry(book, {{u"First Name", u"Bo"}, {u"Last Name", u"Li"}});
  pim.Start();
  pim.groupwise.context->faults.RaiseAlways("Fields.Add", "Read-only book");
  std::string stream;
  ASSERT_EQ(pim.Read(stream, kCon), 0);
  std::size_t sent = 0;
  for (std::size_t at = 0; (at = stream.find("UID:ERROR - Could not extract PMTPIUID data\r\n",
                                             at)) != std::string::npos;
       ++at)
    ++sent;
  EXPECT_EQ(sent, 2u) << stream;
  const std::vector<std::string> logs = pim.host.progress->CallsOf("Log");
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(logs[1],
            "Log(\"Bo Li\r\nGroupWise could not keep this contact's PMTPIUID field, so it is sent "
            "as \"ERROR - Could not extract PMTPIUID data\"; changes made to it on the device "
            "cannot be written back\", \"GroupWise contact without identity\", \"1\")");
}

TEST_F(ContactsTest, AnEntryThatFailsIsLoggedAndSkipped) {
  struct Case {
    const char* name;
    const char* member;
    int call;
    const char* traced;
    std::size_t messageBoxes;
  };
  const Case cases[] = {
      // The second entry's type cannot be read.
      {"entry_raises", "AddressBookEntry.ObjType", 2, "contact extraction error: [Locked]", 0},
      // The first entry's fields, read a second time for the record.
      {"fields_fail_in_extraction", "AddressBookEntry.Fields", 2, "Error extracting: Contact", 1},
  };
  for (const Case& c : cases) {
    ContactsHost t;
    sim::AddressBook& book = t.NewBook(u"Synch");
    t.AddEntry(book, {{u"Last Name", u"One"}, {u"PMTPIUID", u"{1}"}});
    t.AddEntry(book, {{u"Last Name", u"Two"}, {u"PMTPIUID", u"{2}"}});
    t.pim.Start();
    t.pim.groupwise.context->faults.RaiseOnCall(c.member, c.call, "Locked");
    std::string stream;
    ASSERT_EQ(t.pim.Read(stream, kCon), 0) << c.name;
    EXPECT_EQ(
        t.pim.host.progress->CallsOf("Log"),
        std::vector<std::string>{"Log(\"Contact\", \"Error extracting GroupWise contact\", \"1\")"})
        << c.name;
    EXPECT_TRUE(t.pim.Traced(c.traced)) << c.name << t.pim.TraceText();
    EXPECT_EQ(t.pim.host.platform.ui.messageBoxes.size(), c.messageBoxes) << c.name;
    if (c.messageBoxes) {
      EXPECT_EQ(t.pim.host.platform.ui.messageBoxes[0].text, "ExtractFieldData Locked");
    }
    // Exactly one contact reached the host.
    EXPECT_EQ(stream.find("UID:{"), stream.rfind("UID:{")) << c.name << stream;
  }
}

TEST_F(ContactsTest, CancellingBetweenEntriesFailsTheRead) {
  sim::AddressBook& book = NewBook(u"Synch");
  AddEntry(book, {{u"Last Name", u"One"}, {u"PMTPIUID", u"{1}"}});
  AddEntry(book, {{u"Last Name", u"Two"}, {u"PMTPIUID", u"{2}"}});
  pim.Start();
  pim.host.progress->abortFromCall = 2;
  platform::MemoryStream stream("previous");
  EXPECT_EQ(pim.plugin->ReadSource(platform::Object(), &stream, kCon, 0, u""), 1);
  EXPECT_EQ(stream.Bytes(), "previous");
  EXPECT_TRUE(pim.Traced("TISYNCHAPPU.GetPIMContacts exception [User pressed cancel] FALSE"));
}

}  // namespace
}  // namespace pimsync
