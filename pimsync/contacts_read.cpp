// Reading the synchronized address book into VCARD entries: the book found (or created), its
// field names learned, every user entry's fields read and its device identity made sure of.

#include "framework/data_types.h"
#include "framework/groupwise.h"
#include "framework/text_codec.h"
#include "framework/text_util.h"
#include "pimsync/contact.h"
#include "pimsync/pim_plugin.h"
#include "pimsync/progress_reset.h"

namespace pimsync {
namespace {

using framework::FormatText;
using framework::TEntry;
using platform::Object;
namespace gw = framework::groupwise;

}  // namespace

TABLang& TISYNCHAPPU::Labels() {
  if (!languageTable_) throw platform::Exception("Not connected to GroupWise");
  return *languageTable_;
}

std::string TISYNCHAPPU::NewUid() {
  return Services().Env().NewGuidText();
}

Object TISYNCHAPPU::AddressBooks() {
  Trace("TISYNCHAPPU.GetPIMContacts: Accessing FGWAccount.AddressBooks");
  Object books = gw::Account(FGWAccount).AddressBooks();
  if (!books) throw platform::Exception("Address Book object is null.");
  Trace("TISYNCHAPPU.GetPIMContacts: FGWAccount.AddressBooks accessed OK");
  return books;
}

Object TISYNCHAPPU::FindOrCreateBook(const Object& books) {
  Trace("TISYNCHAPPU.GetPIMContacts: searching for address book: " + FAddressBk);
  bool found = false;
  const int32_t count = gw::Count(books);
  for (int32_t i = 1; i <= count && !found; ++i) {
    std::string name = Narrow(gw::ItemAt(books, i).GetProperty("Name").ToText());
    if (framework::SameTextIgnoringCase(name, FAddressBk)) {
      Trace("TISYNCHAPPU.GetPIMContacts: Book located OK");
      FAddressBk = std::move(name);
      Trace("TISYNCHAPPU.GetPIMContacts: FAddressBk renamed to: " + FAddressBk);
      found = true;
    }
  }
  if (!found) {
    Trace("TISYNCHAPPU.GetPIMContacts: Book not found - about to create");
    books.Call("Add", {Services().Ansi().ToWide(FAddressBk)});
    Trace("TISYNCHAPPU.GetPIMContacts: Book created OK");
    Services().Ui().PumpMessages();
  }
  Trace("TISYNCHAPPU.GetPIMContacts: About to assign address book");
  Object book = books.Call("Item", {Services().Ansi().ToWide(FAddressBk)}).ToObject();
  Trace("TISYNCHAPPU.GetPIMContacts: Main address book now accessible");
  return book;
}

void TISYNCHAPPU::EnsureContactUid(const Object& book, const Object& bookEntry) {
  const Object fields = bookEntry.GetProperty("Fields").ToObject();
  std::optional<std::u16string> uid;
  Object field;
  try {
    field = FieldNamed(fields, kUidFieldName);
    uid = field.GetProperty("Value").ToText();
  } catch (const platform::Exception&) {
    // Not seen by this plug-in before: it gets its identity below.
  }
  try {
    if (!uid) {
      try {
        book.GetProperty("FieldDefinitions")
            .ToObject()
            .Call("Add", {std::u16string(kUidFieldName), kTextFieldType});
      } catch (const platform::Exception&) {
        // The book has defined the field since an earlier read.
      }
      fields.Call("Add", {std::u16string(kUidFieldName), kTextFieldType,
                          Services().Ansi().ToWide(NewUid())});
    } else if (uid->empty()) {
      // An empty identity would find nothing when the device sends the contact back.
      field.PutProperty("Value", Services().Ansi().ToWide(NewUid()));
    }
  } catch (const std::exception& failure) {
    // The entry is still sent (leaving it out would have the host delete it on the device),
    // under the identity that says so; the host's log names it.
    Trace(FormatText("TISYNCHAPPU.GetPIMContacts: no identity could be stored: [%s]",
                     {failure.what()}));
  }
}

bool TISYNCHAPPU::GetPIMContacts(framework::TEntryList& list) {
  Trace("TISYNCHAPPU.GetPIMContacts");
  try {
    ProgressReset reset(Progress());
    Progress().SetSynchText("Reading GroupWise address book");
    Progress().SetAppText("Preparing book for access");
    Progress().SetRange(0, 0);
    Progress().SetValue(0);
    const Object book = FindOrCreateBook(AddressBooks());
    Trace("TISYNCHAPPU.GetPIMContacts: About to call LoadFieldNames");
    LoadFieldNames(Labels(), book, IsOldObjectModel(gwVersion_), Services().Ansi());
    Trace("TISYNCHAPPU.GetPIMContacts: After LoadFieldNames");
    Trace("TISYNCHAPPU.GetPIMContacts: About to access entries");
    const Object entries = book.GetProperty("AddressBookEntries").ToObject();
    Trace("TISYNCHAPPU.GetPIMContacts: Entries accessed");
    const int32_t count = gw::Count(entries);
    Trace(FormatText("TISYNCHAPPU.GetPIMContacts: %d entries located (not all may be user entries)",
                     {std::to_string(count)}));
    for (int32_t i = 1; i <= count; ++i) {
      const auto logFailure = [&](const std::string& traceLine) {
        Progress().Log("Contact", "Error extracting GroupWise contact");
        Trace(traceLine);
      };
      Object bookEntry;
      try {
        bookEntry = gw::ItemAt(entries, i);
      } catch (const platform::Exception& failure) {
        logFailure(FormatText("contact extraction error: [%s]", {failure.what()}));
        continue;
      }
      if (Progress().Aborted()) throw platform::Exception("User pressed cancel");
      try {
        if (bookEntry.GetProperty("ObjType").ToInt32() != kUserEntryType) continue;
        EnsureContactUid(book, bookEntry);
        auto entry = std::make_unique<TEntry>();
        entry->SetType(framework::data_type::kCon);
        if (BuildApptEntry(*entry, bookEntry, framework::data_type::kCon)) {
          if (entry->GetUID() == kUnreadableUid) LogContactWithoutUid(*entry);
          list.Add(std::move(entry));
        } else {
          logFailure("Error extracting: Contact");
        }
        Progress().SetValue(list.Count());
      } catch (const platform::Exception& failure) {
        logFailure(FormatText("contact extraction error: [%s]", {failure.what()}));
      }
    }
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("TISYNCHAPPU.GetPIMContacts exception [%s] FALSE", {failure.what()}));
    list.Clear();
    return false;
  }
}

bool TISYNCHAPPU::ExtractFieldData(const Object& bookEntry, TContact& contact) {
  contact = TContact();
  try {
    const Object fields = bookEntry.GetProperty("Fields").ToObject();
    try {
      contact.Uid = FieldNamed(fields, kUidFieldName).GetProperty("Value").ToText();
    } catch (const platform::Exception&) {
      contact.Uid.clear();
    }
    // An empty UID would match nothing when the contact comes back; it is sent as unreadable.
    if (contact.Uid.empty()) contact.Uid = Services().Ansi().ToWide(kUnreadableUid);
    if (IsOldObjectModel(gwVersion_)) {
      for (const ContactFieldInfo& info : kContactFields) {
        try {
          const std::u16string label = Services().Ansi().ToWide(Labels().Label(info.field));
          contact[info.field] =
              fields.Call("Item", {label, kTextFieldType}).ToObject().GetProperty("Value").ToText();
        } catch (const platform::Exception&) {
          // A field the entry does not have stays empty.
        }
      }
    } else {
      // One pass over the entry's fields, each looked up in the catalogue: the cost of an entry
      // grows with its fields, not with fields times catalogue.
      const int32_t count = gw::Count(fields);
      for (int32_t j = 1; j <= count; ++j) {
        const Object field = gw::ItemAt(fields, j);
        if (const auto known = ContactFieldById(field.GetProperty("FieldID").ToText())) {
          contact[*known] = field.GetProperty("Value").ToText();
        }
      }
    }
    return true;
  } catch (const std::exception& failure) {
    Services().Ui().MessageBox(0, std::string("ExtractFieldData ") + failure.what(),
                               "TISYNCHAPPU.ExtractFieldData", platform::mb::kSetForeground);
    return false;
  }
}

void TISYNCHAPPU::AppendContact(TEntry& entry, const Object& bookEntry) {
  TContact contact;
  if (!ExtractFieldData(bookEntry, contact)) {
    throw platform::Exception("Could not extract field data");
  }
  AppendVcard(entry, contact, Services().Ansi());
}

void TISYNCHAPPU::LogContactWithoutUid(const TEntry& entry) {
  try {
    const PersonName name = NameOf(entry, Services().Ansi());
    Progress().Log(
        FormatText("%s\r\nGroupWise could not keep this contact's PMTPIUID field, so it is sent "
                   "as \"%s\"; changes made to it on the device cannot be written back",
                   {Narrow(name.first + u" " + name.last), kUnreadableUid}),
        "GroupWise contact without identity");
  } catch (const std::exception&) {
    // The trace already says it; the contact is sent either way.
  }
}

}  // namespace pimsync
