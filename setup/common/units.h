#pragma once

// The unit lists of the date-range pages and the caption of their delete check box. A unit is
// stored as its length in days; the lists offer Day(s), Week(s), Month(s), Year(s) in this
// order, each named by a string of the component's table.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/common/component_strings.h"

namespace setup {

struct Unit {
  int stringId;
  int16_t days;
};
using UnitTable = std::array<Unit, 4>;

// What Day(s), Week(s), Month(s) and Year(s) are, in the order the lists show them.
constexpr UnitTable UnitsNamedBy(int dayId, int weekId, int monthId, int yearId) {
  return {{{dayId, 1}, {weekId, 7}, {monthId, 30}, {yearId, 365}}};
}

// The names, in list order.
std::vector<std::u16string> UnitNames(const UnitTable& units, const ComponentStrings& strings);
// The entry showing a stored unit: the one of that many days, else the first (Day(s)).
int UnitIndexOf(const UnitTable& units, int16_t days);
// The entry at `index`, held within the list.
const Unit& UnitAt(const UnitTable& units, int index);

// The delete check box's caption: string `beforeId`, then " %d %s " with the count and the
// unit's name, then string `afterId` ("Delete e-mails older than 3 Day(s) from the smartphone
// after synchronization").
std::u16string DeleteCaption(const ComponentStrings& strings, int beforeId, int afterId, int count,
                             const std::u16string& unitName);

}  // namespace setup
