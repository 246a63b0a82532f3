#include "setup/common/component_strings.h"

namespace setup {

std::string ComponentStrings::Ansi(int id) const {
  return library_->LoadString(id).value_or(std::string());
}

std::u16string ComponentStrings::Text(int id) const {
  return ansi_->ToWide(Ansi(id));
}

std::string ComponentStrings::AnsiJoined(std::initializer_list<int> ids) const {
  std::string text;
  for (int id : ids)
    text += Ansi(id);
  return text;
}

std::u16string ComponentStrings::TextJoined(std::initializer_list<int> ids) const {
  return ansi_->ToWide(AnsiJoined(ids));
}

}  // namespace setup
