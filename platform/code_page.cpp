#include "platform/code_page.h"

namespace platform {
namespace {

// 0x80 to 0x9F of Windows-1252; the five unassigned bytes map to the C1 controls of the same
// value, as the system conversion does.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::u16string Windows1252::ToWide(std::string_view text) const {
  std::u16string result;
  result.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    result.push_back(byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char16_t{byte});
  }
  return result;
}

std::string Windows1252::ToAnsi(std::u16string_view text) const {
  std::string result;
  result.reserve(text.size());
  for (char16_t unit : text) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
      result.push_back(static_cast<char>(unit));
      continue;
    }
    char mapped = '?';
    for (int i = 0; i < 32; ++i) {
      if (kHigh[i] == unit) {
        mapped = static_cast<char>(0x80 + i);
        break;
      }
    }
    result.push_back(mapped);
  }
  return result;
}

}  // namespace platform
