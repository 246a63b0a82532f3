#pragma once

// The calendar plug-in's host with an address book to synchronize: books and entries made by
// their fields' labels, and the stored fields read back the same way.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "framework/data_types.h"
#include "framework/text_codec.h"
#include "tests/pimsync/pim_harness.h"

namespace pimsync::testing_harness {

inline constexpr int16_t kCon = framework::data_type::kCon;

struct ContactsHost {
  ContactsHost() {
    pim.host.platform.env.ctrlKeyDown = true;
    pim.blockC.Set(framework::block_c_pim::AddressBook, u"SYNCH");
  }

  // A book with the standard fields and, unless told, the identity field already defined.
  sim::AddressBook& NewBook(std::u16string name, bool withUidField = true) {
    sim::AddressBook book;
    book.name = std::move(name);
    book.definitions = sim::StandardFieldDefinitions();
    if (withUidField) book.AddDefinition(u"PMTPIUID");
    pim.groupwise.mailbox->addressBooks.push_back(std::move(book));
    return pim.groupwise.mailbox->addressBooks.back();
  }
  // The first book, wherever the run left it.
  sim::AddressBook* Book() {
    auto& books = pim.groupwise.mailbox->addressBooks;
    return books.empty() ? nullptr : &books.front();
  }
  // A user entry (or another kind) holding these fields, each of which the book must define.
  sim::BookEntry& AddEntry(sim::AddressBook& book,
                           std::initializer_list<std::pair<std::u16string, std::u16string>> fields,
                           int32_t objType = 1) {
    sim::BookEntry entry;
    entry.key = pim.groupwise.mailbox->NewEntryKey();
    entry.objType = objType;
    for (const auto& [label, value] : fields) {
      const sim::FieldDefinition* definition = book.FindDefinition(label);
      EXPECT_NE(definition, nullptr) << framework::Utf16ToUtf8(label);
      if (definition) entry.fields.push_back({definition->name, definition->fieldId, value});
    }
    return book.entries.push_back(std::move(entry));
  }
  static std::u16string FieldOf(const sim::BookEntry& entry, std::u16string_view label) {
    for (const sim::EntryField& field : entry.fields) {
      if (field.name == label) return field.value;
    }
    return u"<none>";
  }
  // The entry whose identity field holds exactly this text.
  const sim::BookEntry* EntryWithUid(std::u16string_view uid) {
    if (!Book()) return nullptr;
    for (const sim::BookEntry& entry : Book()->entries) {
      if (FieldOf(entry, u"PMTPIUID") == uid) return &entry;
    }
    return nullptr;
  }
  std::string TraceText() const { return pim.TraceText(); }
  // The trace and every message box shown, for a failure's explanation.
  std::string Shown() const {
    std::string text = pim.TraceText();
    for (const auto& box : pim.host.platform.ui.messageBoxes)
      text += "[box] " + box.caption + ": " + box.text + "\n";
    return text;
  }

  PimHost pim;
};

class ContactsTest : public testing::Test, public ContactsHost {};

}  // namespace pimsync::testing_harness
