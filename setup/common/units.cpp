#include "setup/common/units.h"

#include <algorithm>

namespace setup {

std::vector<std::u16string> UnitNames(const UnitTable& units, const ComponentStrings& strings) {
  std::vector<std::u16string> names;
  for (const Unit& unit : units)
    names.push_back(strings.Text(unit.stringId));
  return names;
}

int UnitIndexOf(const UnitTable& units, int16_t days) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i].days == days) return static_cast<int>(i);
  }
  return 0;
}

const Unit& UnitAt(const UnitTable& units, int index) {
  return units[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(units.size()) - 1))];
}

std::u16string DeleteCaption(const ComponentStrings& strings, int beforeId, int afterId, int count,
                             const std::u16string& unitName) {
  const std::string number = std::to_string(count);
  return strings.Text(beforeId) + u" " + std::u16string(number.begin(), number.end()) + u" " +
         unitName + u" " + strings.Text(afterId);
}

}  // namespace setup
