// Address books as the contact operations meet them: books found by their own spelling,
// fields that exist only once the book defines them, entries that stay themselves when others
// are deleted.

#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::ErrorOf;
using testing_support::GroupWiseTest;
using testing_support::HResultOf;
using testing_support::Object;
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

TEST_F(GroupWiseSimAddressBook, BooksAreFoundByTheirOwnSpellingOrPosition) {
  EXPECT_EQ(books.Call("Item", {1}).AsObject().GetProperty("Name"), Variant(u"Synch"));
  EXPECT_EQ(HResultOf([&] { books.Call("Item", {u"SYNCH"}); }), hresult::kException);
  EXPECT_EQ(HResultOf([&] { books.Call("Item", {2}); }), hresult::kTypeMismatch);
  EXPECT_EQ(HResultOf([&] { books.Call("Add", {u"SYNCH"}); }), hresult::kException);
  const Object added = books.Call("Add", {u"Didodudo Z380"}).AsObject();
  EXPECT_EQ(books.GetProperty("Count"), Variant(int32_t{2}));
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

}  // namespace
}  // namespace sim
