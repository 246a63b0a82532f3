#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace framework {

// Data-type codes the host passes as TheType.
namespace data_type {
inline constexpr int16_t kApt = 0;    // appointments
inline constexpr int16_t kEve = 1;    // events, kept as GroupWise notes
inline constexpr int16_t kAnn = 2;    // anniversaries, always refused
inline constexpr int16_t kTodo = 3;   // tasks
inline constexpr int16_t kCon = 4;    // contacts
inline constexpr int16_t kEmail = 6;  // mail
}  // namespace data_type

// Operation codes the host passes as TheOp.
namespace operation {
inline constexpr int16_t kRead = 0;
inline constexpr int16_t kInsert = 1;
inline constexpr int16_t kModify = 2;
inline constexpr int16_t kDelete = 3;
}  // namespace operation

// The codes the host may send; 5 is not one of them.
bool IsAcceptedType(int16_t type);

// "APT", "EVE", "ANN", "TODO", "CON", "EMAIL"; empty for any other code.
std::string_view TypeLabel(int16_t type);

// Position of an accepted type in the hook groups and progress-text tables, which all run
// APT, EVE, ANN, TODO, CON, EMAIL.
std::optional<int> TypeSlot(int16_t type);

}  // namespace framework
