#include "framework/text_codec.h"

#include <array>
#include <cstdint>
#include <optional>

#include "platform/code_page.h"

namespace framework {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Only upper-case digits: lower-case escapes are text the user wrote, not ours.
std::optional<unsigned char> UpperHexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned char>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned char>(c - 'A' + 10);
  return std::nullopt;
}

// The byte of an escape "=XX" at text[at], if there is one.
std::optional<unsigned char> EscapeAt(std::string_view text, std::size_t at) {
  if (text.size() < 3 || at > text.size() - 3) return std::nullopt;
  if (text[at] != '=') return std::nullopt;
  auto high = UpperHexValue(text[at + 1]);
  auto low = UpperHexValue(text[at + 2]);
  if (!high || !low) return std::nullopt;
  return static_cast<unsigned char>(*high << 4 | *low);
}

// Trailing bytes announced by a lead byte, as the reference conversion counts them.
int TrailingBytes(unsigned char lead) {
  if (lead < 0xC0) return 0;
  if (lead < 0xE0) return 1;
  if (lead < 0xF0) return 2;
  if (lead < 0xF8) return 3;
  if (lead < 0xFC) return 4;
  return 5;
}

// True when the bytes are one or more complete multi-byte UTF-8 sequences and nothing else.
// Only the shape is checked: the per-unit encoding of surrogates (ED A0 80) must pass.
bool IsCompleteMultibyteUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0xC0 || lead >= 0xF8) return false;
    const int trailing = TrailingBytes(lead);
    if (bytes.size() - i - 1 < static_cast<std::size_t>(trailing)) return false;
    for (int k = 1; k <= trailing; ++k) {
      auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < 0x80 || next > 0xBF) return false;
    }
    i += 1 + static_cast<std::size_t>(trailing);
  }
  return !bytes.empty();
}

}  // namespace

EncodedText EncodeHighBytes(std::string_view text) {
  EncodedText result;
  result.text.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      result.text.push_back(c);
      continue;
    }
    result.text.push_back('=');
    result.text.push_back(kHexDigits[byte >> 4]);
    result.text.push_back(kHexDigits[byte & 0xF]);
    result.escaped = true;
  }
  return result;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t unit : text) {
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
    } else if (unit < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (unit >> 6)));
      out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (unit >> 12)));
      out.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    }
  }
  return out;
}

EncodedText EncodeUtf8(std::u16string_view text) {
  return EncodeHighBytes(Utf16ToUtf8(text));
}

std::string DecodeEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '=') {
      out.push_back(text[i++]);
      continue;
    }
    // Collect the whole run of consecutive escapes starting here.
    std::string run;
    std::size_t end = i;
    while (auto byte = EscapeAt(text, end)) {
      run.push_back(static_cast<char>(*byte));
      end += 3;
    }
    if (run.empty()) {
      out.push_back('=');
      ++i;
      continue;
    }
    if (IsCompleteMultibyteUtf8(run)) {
      out += run;
      i = end;
      continue;
    }
    // Two escapes at a time; an odd last one is left as text.
    const std::size_t paired = run.size() / 2 * 2;
    out.append(run, 0, paired);
    i += 3 * paired;
    if (paired == run.size()) continue;
    out.push_back('=');
    ++i;
  }
  return out;
}

bool Utf8ToUtf16(std::string_view bytes, std::u16string& out) {
  static constexpr std::array<uint32_t, 6> kOffsets = {0x00000000u, 0x00003080u, 0x000E2080u,
                                                       0x03C82080u, 0xFA082080u, 0x82082080u};
  out.clear();
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const int trailing = TrailingBytes(static_cast<unsigned char>(bytes[i]));
    if (bytes.size() - i <= static_cast<std::size_t>(trailing)) return false;
    uint32_t value = 0;
    for (int k = 0; k <= trailing; ++k) {
      value += static_cast<unsigned char>(bytes[i + k]);
      if (k < trailing) value <<= 6;
    }
    value -= kOffsets[trailing];
    i += 1 + static_cast<std::size_t>(trailing);
    if (value <= 0xFFFF) {
      out.push_back(static_cast<char16_t>(value));
    } else if (value <= 0x10FFFF) {
      value -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
    } else {
      out.push_back(u'\uFFFD');  // beyond Unicode: no surrogate pair can hold it
    }
  }
  return true;
}

std::u16string DecodeUtf8(std::string_view text, const platform::CodePage& ansi) {
  std::u16string out;
  if (Utf8ToUtf16(DecodeEscapes(text), out)) return out;
  return ansi.ToWide(text);
}

bool HasHighBytes(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace framework
