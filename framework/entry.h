#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/versit_property.h"
#include "platform/user_interface.h"

namespace framework {

// One record: its Versit properties in text order, BEGIN, VERSION and END lines included.
class TEntry {
 public:
  static constexpr int32_t kNoType = 7;

  TvProperties Properties;
  int32_t EntryType = kNoType;

  // Every property's line followed by CR LF.
  std::string GetVersit() const;
  // Replaces all properties by those parsed from a record text. A text that cannot be read is
  // reported in a message box and leaves the properties parsed so far (none for a record
  // whose binary value announces more bytes than it holds); it never raises.
  void SetVersit(std::string_view text, platform::UserInterface& ui);
  void SetType(int32_t type) { EntryType = type; }

  // The value of the first property with exactly this name (case matters).
  std::optional<std::string> FindValue(std::string_view name) const;
  // The value of the first property named exactly "UID"; empty when there is none.
  std::string GetUID() const;
  // Sets the UID property's value, adding the property right after the first BEGIN of a
  // VEVENT, VTODO or VMEMO block (at the front when there is none).
  void SetUID(std::string_view uid);
};

}  // namespace framework
