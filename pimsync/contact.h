#pragma once

// One contact as the plug-in carries it between an address-book entry and a VCARD record, and
// the parts of that carrying that need no GroupWise: the record's properties and the display
// name GroupWise would compose.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "framework/entry.h"
#include "pimsync/ab_lang.h"
#include "platform/automation.h"
#include "platform/code_page.h"

namespace pimsync {

// The address-book field that holds a contact's identity on the device.
inline constexpr std::u16string_view kUidFieldName = u"PMTPIUID";
// The UID a contact is sent with when GroupWise can neither tell nor keep its identity.
inline constexpr std::string_view kUnreadableUid = "ERROR - Could not extract PMTPIUID data";
// Every field the plug-in reads or writes is a text field.
inline constexpr int16_t kTextFieldType = 1;
// The ObjType of a person's entry; groups and resources have others.
inline constexpr int32_t kUserEntryType = 1;

// The field of that label (any case) among an entry's Fields; raises when there is none.
platform::Object FieldNamed(const platform::Object& fields, std::u16string_view label);

struct TContact {
  std::u16string Uid;
  std::array<std::u16string, kContactFieldCount> Fields;

  std::u16string& operator[](ContactField field) { return Fields[static_cast<std::size_t>(field)]; }
  const std::u16string& operator[](ContactField field) const {
    return Fields[static_cast<std::size_t>(field)];
  }
};

// Appends the contact's VCARD block, BEGIN to END. Names and addresses travel as UTF-8 under
// QUOTED-PRINTABLE; phone numbers, the e-mail address and the UID in the ANSI code page.
void AppendVcard(framework::TEntry& entry, const TContact& contact, const platform::CodePage& ansi);

// The first and last name of the record's first N property, decoded.
struct PersonName {
  std::u16string first;
  std::u16string last;
};
PersonName NameOf(const framework::TEntry& entry, const platform::CodePage& ansi);

// The display name in the user's display-name format ("L, F" gives "Smith, John"): the first
// "F" or "f" becomes the first name and the first "L" or "l" the last. Without a format, or
// with one lacking an upper-case F or L, the names joined by a blank.
std::u16string ComposeDisplayName(std::optional<std::u16string_view> format,
                                  std::u16string_view first, std::u16string_view last);

// The catalogue field a GroupWise FieldID names, compared as decimal text.
std::optional<ContactField> ContactFieldById(std::u16string_view fieldId);

}  // namespace pimsync
