#pragma once

// What the fuzz targets share. A broken invariant prints its name and the bytes involved,
// escaped so that control characters and high bytes stay visible, then aborts: libFuzzer keeps
// the input as a crash artifact and the message says which rule it broke.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>

namespace fuzz {

inline std::string Escaped(std::string_view bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte >= 0x20 && byte < 0x7F) {
      out.push_back(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out + "\"";
}

inline std::string Escaped(std::u16string_view units) {
  std::string out = "u\"";
  for (char16_t unit : units) {
    if (unit >= 0x20 && unit < 0x7F && unit != u'\\' && unit != u'"') {
      out.push_back(static_cast<char>(unit));
    } else {
      char hex[7];
      std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(unit));
      out += hex;
    }
  }
  return out + "\"";
}

[[noreturn]] inline void Fail(std::string_view invariant, const std::string& details) {
  std::fprintf(stderr, "\nbroken invariant: %.*s\n%s\n", static_cast<int>(invariant.size()),
               invariant.data(), details.c_str());
  std::abort();
}

// The details are only built when the invariant is broken: they cost more than the check.
template <typename Details>
void Require(bool holds, std::string_view invariant, Details details) {
  if (!holds) Fail(invariant, details());
}

// "=" and two upper-case hex digits: the only text the codecs treat as an escape.
template <typename Char>
bool IsUpperHex(Char c) {
  const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
  return (unit >= '0' && unit <= '9') || (unit >= 'A' && unit <= 'F');
}

template <typename Char>
bool HasEscapeLookingText(std::basic_string_view<Char> text) {
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    if (text[i] == '=' && IsUpperHex(text[i + 1]) && IsUpperHex(text[i + 2])) return true;
  }
  return false;
}

}  // namespace fuzz
