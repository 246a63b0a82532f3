// Address books as the contact operations meet them: books found by name whatever its case,
// fields that exist only once the book defines them, entries that stay themselves when others
// are deleted, and the two object models, only one of which has field identifiers.

#include <functional>

#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::ErrorOf;
using testing_support::GroupWiseTest;
using testing_support::HResultOf;
using testing_support::Object;
using testing_support::Utf8;
using testing_support::Variant;
namespace hresult = platform::hresult;

class GroupWiseSimAddressBook : public GroupWiseTest {
 protected:
  void SetUp() override {
    AddressBook book;
    book.name = u"Synch";
    book.definitions = StandardFieldDefinitions();
    groupwise.mailbox->addressBooks.push_back(std::move(book));
    books = Account().GetProperty("AddressBooks").AsObject();
  }
  Object Book() const { return books.Call("Item", {u"Synch"}).AsObject(); }
  Object Entries() const { return Book().GetProperty("AddressBookEntries").AsObject(); }
  static Variant FieldValue(const Object& entry, std::u16string_view name) {
    return entry.GetProperty("Fields")
        .AsObject()
        .Call("Item", {Variant(name), int16_t{1}})
        .AsObject()
        .GetProperty("Value");
  }

  Object books;
};

TEST_F(GroupWiseSimAddressBook, BooksAreFoundByNameWhateverItsCaseOrByPosition) {
  books.Call("Add", {u"Équipe"});
  struct Case {
    Variant key;
    const char16_t* found;  // nullptr: Item raises
  };
  // "SYNCH" as the settings may spell it; only ASCII letters are folded.
  const Case cases[] = {{Variant(u"Synch"), u"Synch"}, {Variant(u"SYNCH"), u"Synch"},
                        {Variant(u"sYnCh"), u"Synch"}, {Variant(u"Synch "), nullptr},
                        {Variant(u"Sync"), nullptr},   {Variant(u"ÉQUIPE"), u"Équipe"},
                        {Variant(u"équipe"), nullptr}, {Variant(int32_t{2}), u"Équipe"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.key.ToText()));
    if (c.found) {
      EXPECT_EQ(books.Call("Item", {c.key}).AsObject().GetProperty("Name"), Variant(c.found));
    } else {
      EXPECT_EQ(HResultOf([&] { books.Call("Item", {c.key}); }), hresult::kException);
    }
  }
  EXPECT_EQ(HResultOf([&] { books.Call("Item", {3}); }), hresult::kTypeMismatch);

  EXPECT_EQ(HResultOf([&] { books.Call("Add", {u"SYNCH"}); }), hresult::kException);
  const Object added = books.Call("Add", {u"Didodudo Z380"}).AsObject();
  EXPECT_EQ(books.GetProperty("Count"), Variant(int32_t{3}));
  // A new book knows the standard fields, so entries can be filled at once.
  const Object definitions = added.GetProperty("FieldDefinitions").AsObject();
  EXPECT_EQ(definitions.GetProperty("Count"),
            Variant(static_cast<int32_t>(StandardFieldDefinitions().size())));
  EXPECT_EQ(definitions.Call("Item", {1}).AsObject().GetProperty("FieldID"),
            Variant(kDisplayNameFieldId));
}

TEST_F(GroupWiseSimAddressBook, ACustomFieldCanBeAddedOnlyOnceTheBookDefinesIt) {
  const Object entry = Entries().Call("Add", {u"Anna Example"}).AsObject();
  const Object fields = entry.GetProperty("Fields").AsObject();
  EXPECT_EQ(HResultOf([&] { FieldValue(entry, u"PMTPIUID"); }), hresult::kException);
  EXPECT_EQ(HResultOf([&] {
              fields.Call("Add", {u"PMTPIUID", int16_t{1}, u"{1}"});
            }),
            hresult::kException);

  const Object definitions = Book().GetProperty("FieldDefinitions").AsObject();
  const Variant uidId =
      definitions.Call("Add", {u"PMTPIUID", int16_t{1}}).AsObject().GetProperty("FieldID");
  const Variant otherId =
      definitions.Call("Add", {u"Nickname", int16_t{1}}).AsObject().GetProperty("FieldID");
  EXPECT_NE(uidId, otherId);
  for (const FieldDefinition& standard : StandardFieldDefinitions()) {
    EXPECT_NE(uidId, Variant(standard.fieldId));
  }
  EXPECT_EQ(HResultOf([&] {
              definitions.Call("Add", {u"pmtpiuid", int16_t{1}});
            }),
            hresult::kException);

  const Object field = fields.Call("Add", {u"PMTPIUID", int16_t{1}, u"{1}"}).AsObject();
  EXPECT_EQ(field.GetProperty("FieldID"), uidId);
  EXPECT_EQ(FieldValue(entry, u"pmtpiuid"), Variant(u"{1}"));
  EXPECT_EQ(HResultOf([&] {
              fields.Call("Add", {u"PMTPIUID", int16_t{1}, u"{2}"});
            }),
            hresult::kException);
  EXPECT_EQ(HResultOf([&] {
              fields.Call("Item", {u"PMTPIUID", int16_t{2}});
            }),
            hresult::kTypeMismatch);
}

TEST_F(GroupWiseSimAddressBook, ANewEntryIsAUserHoldingItsDisplayName) {
  const Object entry = Entries().Call("Add", {u"王小明"}).AsObject();
  EXPECT_EQ(entry.GetProperty("ObjType"), Variant(int32_t{1}));
  const Object field =
      entry.GetProperty("Fields").AsObject().Call("Item", {u"Display Name", int16_t{1}}).AsObject();
  EXPECT_EQ(field.GetProperty("Value"), Variant(u"王小明"));
  EXPECT_EQ(field.GetProperty("FieldID"), Variant(kDisplayNameFieldId));
  field.PutProperty("Value", u"Wang Xiaoming");
  EXPECT_EQ(groupwise.mailbox->addressBooks[0].entries[0].fields[0].value, u"Wang Xiaoming");
}

TEST_F(GroupWiseSimAddressBook, EntriesStayThemselvesWhenAnEarlierOneIsDeleted) {
  const Object first = Entries().Call("Add", {u"First"}).AsObject();
  const Object second = Entries().Call("Add", {u"Second"}).AsObject();
  first.Call("Delete");
  EXPECT_EQ(Entries().GetProperty("Count"), Variant(int32_t{1}));
  EXPECT_EQ(FieldValue(second, u"Display Name"), Variant(u"Second"));
  EXPECT_EQ(FieldValue(Entries().Call("Item", {1}).AsObject(), u"Display Name"),
            Variant(u"Second"));
  EXPECT_NE(ErrorOf([&] { first.Call("Refresh"); }).find("no longer exists"), std::string::npos);
  EXPECT_EQ(HResultOf([&] { Entries().Call("Item", {2}); }), hresult::kTypeMismatch);
}

TEST_F(GroupWiseSimAddressBook, AFieldIsNamedByItsLabelAsTheBookSpellsIt) {
  Book().GetProperty("FieldDefinitions").AsObject().Call("Add", {u"PMTPIUID", int16_t{1}});
  const Object entry = Entries().Call("Add", {u"Anna Example"}).AsObject();
  const Object fields = entry.GetProperty("Fields").AsObject();
  fields.Call("Add", {u"pmtpiuid", int16_t{1}, u"{1}"});
  struct Case {
    const char16_t* asked;
    const char16_t* name;
  };
  for (const Case& c : {Case{u"DISPLAY NAME", u"Display Name"}, Case{u"PmtpiUid", u"PMTPIUID"}}) {
    const Object field = fields.Call("Item", {Variant(c.asked), int16_t{1}}).AsObject();
    EXPECT_EQ(field.GetProperty("Name"), Variant(c.name)) << Utf8(c.asked);
    EXPECT_EQ(HResultOf([&] { field.PutProperty("Name", u"Other"); }), hresult::kMemberNotFound);
  }
}

// The old object model knows fields by label only. Like the plug-in, the simulator tells the
// models apart by comparing the version as text, so "10.0" is old.
TEST_F(GroupWiseSimAddressBook, OnlyTheNewObjectModelHasFieldIdentifiers) {
  struct Case {
    int16_t major, minor;
    bool hasIds;
  };
  const Case cases[] = {{0, 9, false},  {1, 5, false}, {1, 99, false}, {10, 0, false},
                        {19, 9, false}, {2, 0, true},  {5, 5, true},   {20, 0, true}};
  Entries().Call("Add", {u"Anna Example"});
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
    groupwise.mailbox->majorVersion = c.major;
    groupwise.mailbox->minorVersion = c.minor;
    EXPECT_EQ(groupwise.mailbox->HasFieldIds(), c.hasIds);

    const Object field = Entries()
                             .Call("Item", {1})
                             .AsObject()
                             .GetProperty("Fields")
                             .AsObject()
                             .Call("Item", {u"display name", int16_t{1}})
                             .AsObject();
    const Object definition =
        Book().GetProperty("FieldDefinitions").AsObject().Call("Item", {1}).AsObject();
    // Labels work in both models.
    EXPECT_EQ(field.GetProperty("Name"), Variant(u"Display Name"));
    EXPECT_EQ(definition.GetProperty("Name"), Variant(u"Display Name"));
    for (const Object& object : {field, definition}) {
      if (c.hasIds) {
        EXPECT_EQ(object.GetProperty("FieldID"), Variant(kDisplayNameFieldId));
      } else {
        EXPECT_EQ(HResultOf([&] { object.GetProperty("FieldID"); }), hresult::kUnknownName);
      }
    }
  }
}

TEST_F(GroupWiseSimAddressBook, EntryAndFieldMembersFailWhenTheFaultPlanSaysSo) {
  const Object entry = Entries().Call("Add", {u"Anna Example"}).AsObject();
  const Object fields = entry.GetProperty("Fields").AsObject();
  const Object field = fields.Call("Item", {u"Display Name", int16_t{1}}).AsObject();
  struct Case {
    const char* member;
    std::function<void()> call;
  };
  const Case cases[] = {
      {"AddressBookEntry.ObjType", [&] { entry.GetProperty("ObjType"); }},
      {"Fields.Item",
       [&] {
         fields.Call("Item", {u"display name", int16_t{1}});
       }},
      {"Field.Value", [&] { field.GetProperty("Value"); }},
      {"Field.Value", [&] { field.PutProperty("Value", u"Changed"); }},
  };
  const std::u16string& stored = groupwise.mailbox->addressBooks[0].entries[0].fields[0].value;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.member);
    groupwise.context->faults.RaiseAlways(c.member, "Post office unavailable");
    EXPECT_NE(ErrorOf(c.call).find("Post office unavailable"), std::string::npos);
    EXPECT_EQ(stored, u"Anna Example");  // a refused write is not made
    groupwise.context->faults.Clear();
    EXPECT_EQ(HResultOf(c.call), 0);
  }
  EXPECT_EQ(stored, u"Changed");
}

}  // namespace
}  // namespace sim
