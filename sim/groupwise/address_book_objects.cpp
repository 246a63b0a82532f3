// Address books, their entries with their fields, and their field definitions.

#include "sim/common/json.h"
#include "sim/groupwise/objects.h"

namespace sim::groupwise {
namespace {

using platform::Object;

// Fields are all of type 1 (text) in what the plug-ins do; other types are not modelled.
constexpr int32_t kTextFieldType = 1;

// Books are never deleted, so a book is known by its position; entries by their key, since
// entries are; fields and definitions by position, since neither can be deleted.
//
// Get reads; Edit is for a change, which the caller counts with Mailbox::NoteChange once it is
// made (a refused change is none).
struct BookRef {
  std::shared_ptr<Mailbox> mailbox;
  std::size_t book = 0;
  const AddressBook& Get() const { return mailbox->addressBooks[book]; }
  AddressBook& Edit() const { return mailbox->addressBooks[book]; }
};

struct EntryRef {
  BookRef book;
  uint64_t key = 0;
  const BookEntry& Get(std::string_view member) const { return Edit(member); }
  BookEntry& Edit(std::string_view member) const {
    BookEntry* entry = book.Edit().entries.Find(key);
    if (!entry) Raise(member, "The address book entry no longer exists");
    return *entry;
  }
  Mailbox& Box() const { return *book.mailbox; }
};

void ExpectTextType(const Variant& type, std::string_view member) {
  if (type.ToInt32() != kTextFieldType) {
    SimObject::RaiseBadArgument(member, "only field type 1 (text) is modelled");
  }
}

int32_t CountOf(std::size_t size) {
  return static_cast<int32_t>(size);
}

std::size_t PositionOf(const Variant& index, std::size_t count, std::string_view member) {
  const int32_t position = index.ToInt32();
  if (position < 1 || static_cast<std::size_t>(position) > count) {
    SimObject::RaiseBadArgument(member, "index out of range");
  }
  return static_cast<std::size_t>(position - 1);
}

class Field final : public SimObject {
 public:
  Field(const Shared& shared, EntryRef entry, std::size_t field)
      : SimObject("Field", shared.context) {
    auto get = [entry, field](std::string_view member) -> const EntryField& {
      return entry.Get(member).fields[field];
    };
    AddProperty(
        "Value", [get](Args) { return Variant(get("Field.Value").value); },
        [entry, field](const Variant& value) {
          entry.Box().Update(entry.Edit("Field.Value").fields[field].value, value.ToText());
        });
    AddProperty("Name", [get](Args) { return Variant(get("Field.Name").name); });
    // Not there at all in the old object model, so a plug-in that asks for it there fails as
    // it would with GroupWise: with "Unknown name.".
    if (entry.Box().HasFieldIds()) {
      AddProperty("FieldID", [get](Args) { return Variant(get("Field.FieldID").fieldId); });
    }
    AddMethod("Refresh", [get](Args args) {
      ExpectArgCount(args, 0, 0, "Field.Refresh");
      get("Field.Refresh");
      return Variant();
    });
  }
};

class Fields final : public SimObject {
 public:
  Fields(const Shared& shared, EntryRef entry)
      : SimObject("Fields", shared.context), shared_(shared), entry_(std::move(entry)) {
    AddProperty("Count", [this](Args) {
      return Variant(CountOf(entry_.Get("Fields.Count").fields.size()));
    });
    // Item(name, 1) or Item(index).
    AddMethod("Item", [this](Args args) {
      const BookEntry& entry = entry_.Get("Fields.Item");
      const Variant& key = Arg(args, 0, "Fields.Item");
      if (key.GetKind() != Variant::Kind::kText) {
        ExpectArgCount(args, 1, 1, "Fields.Item");
        return Wrap(PositionOf(key, entry.fields.size(), "Fields.Item"));
      }
      ExpectArgCount(args, 2, 2, "Fields.Item");
      ExpectTextType(Arg(args, 1, "Fields.Item"), "Fields.Item");
      for (std::size_t i = 0; i < entry.fields.size(); ++i) {
        if (SameTextIgnoringCase(entry.fields[i].name, key.AsText())) return Wrap(i);
      }
      Raise("Fields.Item", "The entry has no field \"" + json::Utf16ToUtf8(key.AsText()) + "\"");
    });
    // Add(name, 1, value): only a field the book defines.
    AddMethod("Add", [this](Args args) {
      ExpectArgCount(args, 3, 3, "Fields.Add");
      const std::u16string name = Arg(args, 0, "Fields.Add").ToText();
      ExpectTextType(Arg(args, 1, "Fields.Add"), "Fields.Add");
      const std::u16string value = Arg(args, 2, "Fields.Add").ToText();
      BookEntry& entry = entry_.Edit("Fields.Add");
      const FieldDefinition* definition = entry_.book.Get().FindDefinition(name);
      if (!definition) {
        Raise("Fields.Add",
              "The address book defines no field \"" + json::Utf16ToUtf8(name) + "\"");
      }
      for (const EntryField& field : entry.fields) {
        if (SameTextIgnoringCase(field.name, name)) {
          Raise("Fields.Add",
                "The entry already has the field \"" + json::Utf16ToUtf8(name) + "\"");
        }
      }
      entry.fields.push_back({definition->name, definition->fieldId, value});
      entry_.Box().NoteChange();
      return Wrap(entry.fields.size() - 1);
    });
  }

 private:
  Variant Wrap(std::size_t field) const {
    return Variant(MakeObject<Field>(shared_, entry_, field));
  }

  Shared shared_;
  EntryRef entry_;
};

class AddressBookEntry final : public SimObject {
 public:
  AddressBookEntry(const Shared& shared, EntryRef entry)
      : SimObject("AddressBookEntry", shared.context) {
    AddProperty("ObjType",
                [entry](Args) { return Variant(entry.Get("AddressBookEntry.ObjType").objType); });
    AddProperty("Fields", [shared, entry](Args) {
      entry.Get("AddressBookEntry.Fields");
      return Variant(MakeObject<Fields>(shared, entry));
    });
    AddMethod("Refresh", [entry](Args args) {
      ExpectArgCount(args, 0, 0, "AddressBookEntry.Refresh");
      entry.Get("AddressBookEntry.Refresh");
      return Variant();
    });
    AddMethod("Delete", [entry](Args args) {
      ExpectArgCount(args, 0, 0, "AddressBookEntry.Delete");
      entry.Get("AddressBookEntry.Delete");
      entry.book.Edit().entries.Erase(entry.key);
      entry.Box().NoteChange();
      return Variant();
    });
  }
};

class AddressBookEntries final : public SimObject {
 public:
  AddressBookEntries(const Shared& shared, BookRef book)
      : SimObject("AddressBookEntries", shared.context) {
    AddProperty("Count", [book](Args) { return Variant(CountOf(book.Get().entries.size())); });
    AddMethod("Item", [shared, book](Args args) {
      ExpectArgCount(args, 1, 1, "AddressBookEntries.Item");
      const auto& entries = book.Get().entries;
      const std::size_t position = PositionOf(Arg(args, 0, "AddressBookEntries.Item"),
                                              entries.size(), "AddressBookEntries.Item");
      return Variant(MakeObject<AddressBookEntry>(shared, EntryRef{book, entries[position].key}));
    });
    // Add(display name): a user entry holding its display name, when the book defines that
    // field.
    AddMethod("Add", [shared, book](Args args) {
      ExpectArgCount(args, 1, 1, "AddressBookEntries.Add");
      const std::u16string displayName = Arg(args, 0, "AddressBookEntries.Add").ToText();
      AddressBook& target = book.Edit();
      BookEntry entry;
      entry.key = shared.mailbox->NewEntryKey();
      for (const FieldDefinition& definition : target.definitions) {
        if (definition.fieldId == kDisplayNameFieldId) {
          entry.fields.push_back({definition.name, definition.fieldId, displayName});
          break;
        }
      }
      const uint64_t key = target.entries.push_back(std::move(entry)).key;
      shared.mailbox->NoteChange();
      return Variant(MakeObject<AddressBookEntry>(shared, EntryRef{book, key}));
    });
  }
};

class DefinitionObject final : public SimObject {
 public:
  DefinitionObject(const Shared& shared, BookRef book, std::size_t definition)
      : SimObject("FieldDefinition", shared.context) {
    if (book.mailbox->HasFieldIds()) {  // as for Field
      AddProperty("FieldID", [book, definition](Args) {
        return Variant(book.Get().definitions[definition].fieldId);
      });
    }
    AddProperty("Name", [book, definition](Args) {
      return Variant(book.Get().definitions[definition].name);
    });
  }
};

class FieldDefinitions final : public SimObject {
 public:
  FieldDefinitions(const Shared& shared, BookRef book)
      : SimObject("FieldDefinitions", shared.context) {
    AddProperty("Count", [book](Args) { return Variant(CountOf(book.Get().definitions.size())); });
    AddMethod("Item", [shared, book](Args args) {
      ExpectArgCount(args, 1, 1, "FieldDefinitions.Item");
      const std::size_t position =
          PositionOf(Arg(args, 0, "FieldDefinitions.Item"), book.Get().definitions.size(),
                     "FieldDefinitions.Item");
      return Variant(MakeObject<DefinitionObject>(shared, book, position));
    });
    AddMethod("Add", [shared, book](Args args) {
      ExpectArgCount(args, 2, 2, "FieldDefinitions.Add");
      const std::u16string name = Arg(args, 0, "FieldDefinitions.Add").ToText();
      ExpectTextType(Arg(args, 1, "FieldDefinitions.Add"), "FieldDefinitions.Add");
      AddressBook& target = book.Edit();
      if (target.FindDefinition(name)) {
        Raise("FieldDefinitions.Add",
              "The address book already defines \"" + json::Utf16ToUtf8(name) + "\"");
      }
      try {
        target.AddDefinition(name);
      } catch (const platform::Exception& failure) {
        Raise("FieldDefinitions.Add", failure.what());
      }
      shared.mailbox->NoteChange();
      return Variant(MakeObject<DefinitionObject>(shared, book, target.definitions.size() - 1));
    });
  }
};

class AddressBookObject final : public SimObject {
 public:
  AddressBookObject(const Shared& shared, BookRef book) : SimObject("AddressBook", shared.context) {
    AddProperty("Name", [book](Args) { return Variant(book.Get().name); });
    AddProperty("AddressBookEntries", [shared, book](Args) {
      return Variant(MakeObject<AddressBookEntries>(shared, book));
    });
    AddProperty("FieldDefinitions", [shared, book](Args) {
      return Variant(MakeObject<FieldDefinitions>(shared, book));
    });
  }
};

// Item by name ignores case, as GroupWise does: a plug-in that adds a contact before it has
// read the books in a session names the book as its settings spell it.
class AddressBooks final : public SimObject {
 public:
  explicit AddressBooks(const Shared& shared) : SimObject("AddressBooks", shared.context) {
    AddProperty("Count",
                [shared](Args) { return Variant(CountOf(shared.mailbox->addressBooks.size())); });
    AddMethod("Item", [shared](Args args) {
      ExpectArgCount(args, 1, 1, "AddressBooks.Item");
      const Variant& key = Arg(args, 0, "AddressBooks.Item");
      auto& books = shared.mailbox->addressBooks;
      if (key.GetKind() != Variant::Kind::kText) {
        return Wrap(shared, PositionOf(key, books.size(), "AddressBooks.Item"));
      }
      if (const AddressBook* found = shared.mailbox->FindBook(key.AsText())) {
        return Wrap(shared, static_cast<std::size_t>(found - books.data()));
      }
      Raise("AddressBooks.Item",
            "No address book is named \"" + json::Utf16ToUtf8(key.AsText()) + "\"");
    });
    AddMethod("Add", [shared](Args args) {
      ExpectArgCount(args, 1, 1, "AddressBooks.Add");
      const std::u16string name = Arg(args, 0, "AddressBooks.Add").ToText();
      if (shared.mailbox->FindBook(name)) {
        Raise("AddressBooks.Add", "An address book of that name exists already");
      }
      if (name.empty()) RaiseBadArgument("AddressBooks.Add", "an address book needs a name");
      AddressBook book;
      book.name = name;
      book.definitions = StandardFieldDefinitions();
      auto& books = shared.mailbox->addressBooks;
      books.push_back(std::move(book));
      shared.mailbox->NoteChange();
      return Wrap(shared, books.size() - 1);
    });
  }

 private:
  static Variant Wrap(const Shared& shared, std::size_t book) {
    return Variant(MakeObject<AddressBookObject>(shared, BookRef{shared.mailbox, book}));
  }
};

}  // namespace

Object MakeAddressBooks(const Shared& shared) {
  return MakeObject<AddressBooks>(shared);
}

}  // namespace sim::groupwise
