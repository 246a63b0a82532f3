#include "framework/data_types.h"

namespace framework {

std::optional<int> TypeSlot(int16_t type) {
  switch (type) {
    case data_type::kApt:
      return 0;
    case data_type::kEve:
      return 1;
    case data_type::kAnn:
      return 2;
    case data_type::kTodo:
      return 3;
    case data_type::kCon:
      return 4;
    case data_type::kEmail:
      return 5;
    default:
      return std::nullopt;
  }
}

bool IsAcceptedType(int16_t type) {
  return TypeSlot(type).has_value();
}

std::string_view TypeLabel(int16_t type) {
  static constexpr std::string_view kLabels[] = {"APT", "EVE", "ANN", "TODO", "CON", "EMAIL"};
  auto slot = TypeSlot(type);
  return slot ? kLabels[*slot] : std::string_view();
}

}  // namespace framework
