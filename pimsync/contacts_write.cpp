// Writing device contacts into the synchronized address book: add, modify and delete, found by
// the device identity kept in each entry's "PMTPIUID" field, and the contact mapping. Fields are
// written by their labels; GroupWise is handed the device's text as wide text, so names in any
// script survive the round trip.

#include "framework/data_types.h"
#include "framework/groupwise.h"
#include "framework/registry_nt.h"
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
using platform::Variant;
namespace gw = framework::groupwise;

constexpr std::string_view kContactNoun = "contact";
constexpr std::string_view kDisplayNameKey =
    "\\Software\\Novell\\GroupWise\\Address Book - User Interface";

// A TEL or EMAIL property is recognised by its whole parameter text, alone or with ";1".
bool ParametersAre(std::string_view parameters, std::string_view wanted) {
  return parameters == wanted || (parameters.size() == wanted.size() + 2 &&
                                  parameters.starts_with(wanted) && parameters.ends_with(";1"));
}

// TITLE and NOTE are taken with no parameters, the first of several, or quoted text.
bool IsPlainOrQuoted(std::string_view parameters) {
  return parameters.empty() || framework::Contains(parameters, "1") ||
         framework::Contains(parameters, "QUOTED-PRINTABLE");
}

}  // namespace

Object TISYNCHAPPU::ContactBook() {
  const Object books = gw::Account(FGWAccount).AddressBooks();
  if (!books) throw platform::Exception("Address Book object is null");
  return books.Call("Item", {Services().Ansi().ToWide(FAddressBk)}).ToObject();
}

bool TISYNCHAPPU::FindContactByUid(const std::string& uid, Object& found) {
  if (uid.empty()) return false;
  try {
    const Object entries = ContactBook().GetProperty("AddressBookEntries").ToObject();
    const int32_t count = gw::Count(entries);
    for (int32_t i = 1; i <= count; ++i) {
      const Object candidate = gw::ItemAt(entries, i);
      if (candidate.GetProperty("ObjType").ToInt32() != kUserEntryType) continue;
      std::string stored;
      try {
        stored = Narrow(FieldNamed(candidate.GetProperty("Fields").ToObject(), kUidFieldName)
                            .GetProperty("Value")
                            .ToText());
      } catch (const platform::Exception&) {
        // An entry without an identity is no match.
      }
      if (framework::SameTextIgnoringCase(stored, uid)) {
        found = candidate;
        return true;
      }
    }
  } catch (const std::exception& failure) {
    Trace(FormatText("TISYNCHAPPU.FindContactByUid: exception [%s]", {failure.what()}));
  }
  return false;
}

void TISYNCHAPPU::SetEntryField(const Object& fields, std::u16string_view label,
                                const Variant& text) {
  try {
    const Object field = FieldNamed(fields, label);
    field.Call("Refresh");
    field.PutProperty("Value", text);
  } catch (const platform::Exception&) {
    // The entry does not have the field yet.
    fields.Call("Add", {std::u16string(label), kTextFieldType, text});
  }
}

std::u16string TISYNCHAPPU::FormatDisplayName(std::u16string_view first, std::u16string_view last) {
  std::optional<std::u16string> format;
  try {
    framework::TRegistryNT key(Services().Reg());
    key.SetAccess(platform::registry_access::kRead);
    if (key.OpenKey(kDisplayNameKey, false)) {
      if (const auto value = key.ReadString("Display Name Format"))
        format = Services().Ansi().ToWide(*value);
    }
  } catch (const std::exception&) {
    // GroupWise's own default serves.
  }
  return ComposeDisplayName(format, first, last);
}

std::string_view TISYNCHAPPU::CommentPadding() const {
  return IsOldObjectModel(gwVersion_) ? "   " : "";
}

void TISYNCHAPPU::AddContactUid(const Object& book, const Object& fields) {
  const Variant uid(Services().Ansi().ToWide(NewUid()));
  const auto add = [&] {
    fields.Call("Add", {std::u16string(kUidFieldName), kTextFieldType, uid});
  };
  try {
    add();
    return;
  } catch (const platform::Exception&) {
    // The book does not define the field yet.
  }
  try {
    book.GetProperty("FieldDefinitions")
        .ToObject()
        .Call("Add", {std::u16string(kUidFieldName), kTextFieldType});
    add();
  } catch (const std::exception& failure) {
    // The contact is still stored; the rebuilt record says it has no identity, and the host's
    // log names it.
    Trace(FormatText("TISYNCHAPPU.AddPIMContact: no identity could be stored: [%s]",
                     {failure.what()}));
  }
}

bool TISYNCHAPPU::AddPIMContact(TEntry& entry) {
  Trace("TISYNCHAPPU.AddPIMContact");
  Object created;
  std::u16string displayName;
  try {
    WriteScope scope(Progress(), entry);
    const ItemUpdate update = PlanRecordUpdate(entry, framework::data_type::kCon, kContactNoun);
    const Object book = ContactBook();
    const PersonName name = NameOf(entry, Services().Ansi());
    displayName = FormatDisplayName(name.first, name.last);
    created =
        book.GetProperty("AddressBookEntries").ToObject().Call("Add", {displayName}).ToObject();
    const Object fields = created.GetProperty("Fields").ToObject();
    AddContactUid(book, fields);
    SetEntryField(fields, Services().Ansi().ToWide(Labels().Label(ContactField::kEmailType)),
                  Variant(std::u16string(u"INTERNET")));
    if (!UpdateMessage(created, update)) throw platform::Exception("UpdateMessage failed");
    // The host learns the new contact's identity from the rebuilt entry's UID.
    RebuildEntry(entry, created, framework::data_type::kCon, kContactNoun);
    if (entry.GetUID() == kUnreadableUid) LogContactWithoutUid(entry);
    return true;
  } catch (const std::exception& failure) {
    if (created) DiscardHalfMadeItem(created, Narrow(displayName));
    Services().Ui().MessageBox(0, failure.what(), "TISYNCHAPPU.AddPIMContact",
                               platform::mb::kSetForeground);
    return false;
  }
}

bool TISYNCHAPPU::ModifyPIMContact(TEntry& entry) {
  Trace("TISYNCHAPPU.ModifyPIMContact");
  try {
    WriteScope scope(Progress(), entry);
    const std::string uid = entry.GetUID();
    Object found;
    if (!FindContactByUid(uid, found)) {
      throw platform::Exception(
          FormatText("Could not locate address book entry to modify: %s", {uid}));
    }
    const ItemUpdate update = PlanRecordUpdate(entry, framework::data_type::kCon, kContactNoun);
    if (!UpdateMessage(found, update)) {
      const PersonName name = NameOf(entry, Services().Ansi());
      FailPartialUpdate(Narrow(name.first + u" " + name.last), kContactNoun);
    }
    RebuildEntry(entry, found, framework::data_type::kCon, kContactNoun);
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Exception [%s] in TISYNCHAPPU.ModifyPIMContact", {failure.what()}));
    return false;
  }
}

bool TISYNCHAPPU::DeletePIMContact(TEntry& entry) {
  Trace("TISYNCHAPPU.DeletePIMContact");
  try {
    WriteScope scope(Progress(), entry);
    Object found;
    if (!FindContactByUid(entry.GetUID(), found)) return false;
    found.Call("Delete");
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TISYNCHAPPU::PlanContactProperty(framework::TvPropertyView property, ItemUpdate& update) {
  const platform::CodePage& ansi = Services().Ansi();
  const auto write = [&](ContactField field, std::u16string text) {
    update.push_back(
        {Labels().Label(field), Variant(std::move(text)), ItemWrite::Target::kEntryField});
  };
  const auto component = [&](std::size_t index) {
    return framework::DecodeUtf8(property.GetValueComponent(index), ansi);
  };
  const std::string_view name = property.Name;
  const std::string_view parameters = property.Parameters;
  if (name == "N") {
    std::u16string first = component(1), last = component(0);
    write(ContactField::kFirstName, first);
    write(ContactField::kLastName, last);
    write(ContactField::kNamePrefix, component(3));
    write(ContactField::kDisplayName, FormatDisplayName(first, last));
  } else if (name == "ADR" && property.HasParameter("HOME")) {
    write(ContactField::kStreet, component(2));
    write(ContactField::kCity, component(3));
    write(ContactField::kState, component(4));
    write(ContactField::kPostalCode, component(5));
    write(ContactField::kCountry, component(6));
    write(ContactField::kOffice, component(0));
  } else if (name == "TEL") {
    // Numbers go to GroupWise as the device sent them.
    const std::u16string number = ansi.ToWide(property.Value);
    if (ParametersAre(parameters, "HOME;VOICE")) {
      write(ContactField::kHomePhone, number);
    } else if (ParametersAre(parameters, "WORK;VOICE;CELL")) {
      write(ContactField::kMobilePhone, number);
    } else if (ParametersAre(parameters, "WORK;VOICE")) {
      write(ContactField::kWorkPhone, number);
    } else if (ParametersAre(parameters, "WORK;FAX")) {
      write(ContactField::kFax, number);
    }
  } else if (name == "EMAIL" && ParametersAre(parameters, "INTERNET;WORK")) {
    write(ContactField::kEmailAddress, ansi.ToWide(property.Value));
  } else if (name == "ORG") {
    write(ContactField::kOrganization, component(0));
  } else if (name == "TITLE" && IsPlainOrQuoted(parameters)) {
    write(ContactField::kTitle, framework::DecodeUtf8(property.Value, ansi));
  } else if (name == "NOTE" && IsPlainOrQuoted(parameters)) {
    write(ContactField::kComment,
          framework::DecodeUtf8(std::string(property.Value) + std::string(CommentPadding()), ansi));
  }
}

}  // namespace pimsync
