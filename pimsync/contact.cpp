#include "pimsync/contact.h"

#include "framework/text_codec.h"
#include "framework/text_util.h"

namespace pimsync {
namespace {

using CF = ContactField;

constexpr std::string_view kQuotedUtf8 = "QUOTED-PRINTABLE;CHARSET=UTF-8";

// Only a value with bytes beyond ASCII names its character set.
std::string_view QuotedFor(std::string_view value) {
  return framework::HasHighBytes(value) ? kQuotedUtf8 : "QUOTED-PRINTABLE";
}

std::size_t FindLetter(std::u16string_view text, char16_t upper) {
  const char16_t lower = static_cast<char16_t>(upper - u'A' + u'a');
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == upper || text[i] == lower) return i;
  }
  return std::u16string_view::npos;
}

}  // namespace

platform::Object FieldNamed(const platform::Object& fields, std::u16string_view label) {
  return fields.Call("Item", {std::u16string(label), kTextFieldType}).ToObject();
}

void AppendVcard(framework::TEntry& entry, const TContact& c, const platform::CodePage& ansi) {
  const auto utf8 = [&](ContactField field) { return framework::Utf16ToUtf8(c[field]); };
  const auto narrow = [&](ContactField field) { return ansi.ToAnsi(c[field]); };
  framework::TvProperties& out = entry.Properties;
  const auto addQuoted = [&](std::string_view name, const std::string& value) {
    out.Add(name, QuotedFor(value), value);
  };

  out.Add("BEGIN", "", "VCARD");
  out.Add("UID", "", ansi.ToAnsi(c.Uid));
  addQuoted("N", framework::FormatText("%s;%s;;%s;", {utf8(CF::kLastName), utf8(CF::kFirstName),
                                                      utf8(CF::kNamePrefix)}));
  const std::string address = framework::FormatText(
      "%s;;%s;%s;%s;%s;%s", {utf8(CF::kOffice), utf8(CF::kStreet), utf8(CF::kCity),
                             utf8(CF::kState), utf8(CF::kPostalCode), utf8(CF::kCountry)});
  out.Add("ADR",
          framework::HasHighBytes(address) ? "HOME;QUOTED-PRINTABLE;CHARSET=UTF-8"
                                           : "HOME;QUOTED-PRINTABLE",
          address);
  out.Add("TEL", "HOME;VOICE", narrow(CF::kHomePhone));
  out.Add("TEL", "WORK;VOICE;CELL", narrow(CF::kMobilePhone));
  addQuoted("ORG", utf8(CF::kOrganization) + ";");
  const std::string title = utf8(CF::kTitle);
  out.Add("TITLE", framework::HasHighBytes(title) ? kQuotedUtf8 : "", title);
  out.Add("TEL", "WORK;VOICE", narrow(CF::kWorkPhone));
  out.Add("TEL", "WORK;FAX", narrow(CF::kFax));
  out.Add("EMAIL", "INTERNET;WORK", narrow(CF::kEmailAddress));
  addQuoted("NOTE", utf8(CF::kComment));
  out.Add("END", "", "VCARD");
}

PersonName NameOf(const framework::TEntry& entry, const platform::CodePage& ansi) {
  const std::optional<std::string> value = entry.FindValue("N");
  if (!value) return {};
  const framework::TvPropertyView n{"N", "", *value};
  return {framework::DecodeUtf8(n.GetValueComponent(1), ansi),
          framework::DecodeUtf8(n.GetValueComponent(0), ansi)};
}

std::u16string ComposeDisplayName(std::optional<std::u16string_view> format,
                                  std::u16string_view first, std::u16string_view last) {
  if (!format || format->find(u'F') == std::u16string_view::npos ||
      format->find(u'L') == std::u16string_view::npos) {
    return std::u16string(first) + u" " + std::u16string(last);
  }
  // Both letters are found in the format itself and replaced in one pass, so a name that
  // happens to contain a letter of the format (or anything else) is never replaced again.
  const std::size_t firstAt = FindLetter(*format, u'F');
  const std::size_t lastAt = FindLetter(*format, u'L');
  std::u16string name;
  for (std::size_t i = 0; i < format->size(); ++i) {
    if (i == firstAt) {
      name += first;
    } else if (i == lastAt) {
      name += last;
    } else {
      name += (*format)[i];
    }
  }
  return name;
}

std::optional<ContactField> ContactFieldById(std::u16string_view fieldId) {
  // As text: "0805371934" is not the display name's identifier.
  if (fieldId.empty() || fieldId.size() > 10 || (fieldId[0] == u'0' && fieldId.size() > 1))
    return std::nullopt;
  uint64_t id = 0;
  for (const char16_t digit : fieldId) {
    if (digit < u'0' || digit > u'9') return std::nullopt;
    id = id * 10 + static_cast<uint64_t>(digit - u'0');
  }
  for (const ContactFieldInfo& info : kContactFields) {
    if (info.fieldId == id) return info.field;
  }
  return std::nullopt;
}

}  // namespace pimsync
