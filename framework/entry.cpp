#include "framework/entry.h"

#include "framework/record_parser.h"

namespace framework {

std::string TEntry::GetVersit() const {
  std::string text;
  text.reserve(Properties.VersitSize());
  Properties.AppendVersit(text);
  return text;
}

void TEntry::SetVersit(std::string_view text, platform::UserInterface& ui) {
  if (auto failure = ParseRecord(text, Properties)) {
    ui.MessageBox(0, "TEntry.SetVersit: " + *failure, "", platform::mb::kOk);
  }
}

std::optional<std::string> TEntry::FindValue(std::string_view name) const {
  if (name.empty()) return std::nullopt;
  for (const TvPropertyView property : Properties) {
    if (property.Name == name) return std::string(property.Value);
  }
  return std::nullopt;
}

std::string TEntry::GetUID() const {
  return FindValue("UID").value_or(std::string());
}

void TEntry::SetUID(std::string_view uid) {
  std::size_t insertAt = 0;
  bool blockFound = false;
  for (std::size_t i = 0; i < Properties.Count(); ++i) {
    const TvPropertyView property = Properties[i];
    if (property.Name == "UID") {
      Properties.SetValue(i, uid);
      return;
    }
    if (!blockFound && property.Name == "BEGIN" &&
        (property.Value == "VEVENT" || property.Value == "VTODO" || property.Value == "VMEMO")) {
      insertAt = i + 1;
      blockFound = true;
    }
  }
  Properties.Insert(insertAt, "UID", "", uid);
}

}  // namespace framework
