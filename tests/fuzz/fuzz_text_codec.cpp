// The text codecs between GroupWise's wide strings and the device's 8-bit values. The input is
// read twice: as bytes (8-bit text from the device) and as little-endian UTF-16 code units
// (wide text from GroupWise; an odd last byte is dropped).
//
// What does NOT hold, and why it is not asserted: DecodeEscapes(EncodeHighBytes(x)) == x fails
// when x already holds text like "=41" (the user's text is indistinguishable from an escape) or
// a run of high bytes that is neither UTF-8 nor of even length (its odd last byte stays an
// escape, by design, so that a lone "=E9" the user typed survives). The invariants below are
// the ones that hold for every input.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/text_codec.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::Escaped;
using fuzz::HasEscapeLookingText;
using fuzz::Require;

bool IsHigh(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (IsHigh(c)) return false;
  }
  return true;
}

std::size_t CountHigh(std::string_view text) {
  std::size_t count = 0;
  for (char c : text)
    count += IsHigh(c) ? 1 : 0;
  return count;
}

// A run of high bytes is decoded whole when it is nothing but complete UTF-8 sequences (lead
// bytes C0 to F7 followed by as many continuation bytes 80 to BF as they announce); other runs
// are decoded two bytes at a time. So a run survives the round trip iff either holds.
bool RunSurvivesEscaping(std::string_view run) {
  if (run.size() % 2 == 0) return true;
  std::size_t i = 0;
  while (i < run.size()) {
    const auto lead = static_cast<unsigned char>(run[i]);
    std::size_t trailing;
    if (lead >= 0xC0 && lead < 0xE0) {
      trailing = 1;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      trailing = 2;
    } else if (lead >= 0xF0 && lead < 0xF8) {
      trailing = 3;
    } else {
      return false;
    }
    if (run.size() - i - 1 < trailing) return false;
    for (std::size_t k = 1; k <= trailing; ++k) {
      const auto next = static_cast<unsigned char>(run[i + k]);
      if (next < 0x80 || next > 0xBF) return false;
    }
    i += 1 + trailing;
  }
  return true;
}

bool EveryHighRunSurvivesEscaping(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsHigh(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && IsHigh(text[end]))
      ++end;
    if (!RunSurvivesEscaping(text.substr(i, end - i))) return false;
    i = end;
  }
  return true;
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) to UTF-16, written
// independently of the framework to compare with it; nullopt for anything not strictly valid.
std::optional<std::u16string> StrictUtf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t trailing;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
      trailing = 0, value = lead, minimum = 0;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      trailing = 1, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      trailing = 2, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      trailing = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
      return std::nullopt;
    }
    if (bytes.size() - i - 1 < trailing) return std::nullopt;
    for (std::size_t k = 1; k <= trailing; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      value = value << 6 | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      return std::nullopt;
    }
    if (value >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(value));
    }
    i += 1 + trailing;
  }
  return out;
}

void CheckBytes(std::string_view bytes) {
  const framework::EncodedText encoded = framework::EncodeHighBytes(bytes);
  Require(IsAscii(encoded.text), "EncodeHighBytes leaves no high byte",
          [&] { return Escaped(bytes) + " gave " + Escaped(encoded.text); });
  Require(encoded.escaped == framework::HasHighBytes(bytes),
          "EncodeHighBytes says it escaped iff there was a high byte",
          [&] { return Escaped(bytes) + " escaped=" + std::to_string(encoded.escaped); });
  Require(encoded.text.size() == bytes.size() + 2 * CountHigh(bytes),
          "EncodeHighBytes writes three characters per high byte and copies the rest",
          [&] { return Escaped(bytes) + " gave " + Escaped(encoded.text); });

  const std::string decoded = framework::DecodeEscapes(bytes);
  Require(decoded.size() <= bytes.size() && (bytes.size() - decoded.size()) % 2 == 0,
          "DecodeEscapes turns whole escapes into single bytes",
          [&] { return Escaped(bytes) + " gave " + Escaped(decoded); });
  if (!HasEscapeLookingText(bytes)) {
    Require(decoded == bytes, "DecodeEscapes leaves a text without upper-case escapes alone",
            [&] { return Escaped(bytes) + " gave " + Escaped(decoded); });

    const std::string back = framework::DecodeEscapes(encoded.text);
    const bool survives = EveryHighRunSurvivesEscaping(bytes);
    Require((back == bytes) == survives,
            survives ? "escaped UTF-8 runs and even runs decode back"
                     : "the odd last escape of a run that is not UTF-8 stays an escape",
            [&] {
              return Escaped(bytes) + " escaped " + Escaped(encoded.text) + " decoded " +
                     Escaped(back);
            });
  }

  const std::u16string wide = framework::DecodeUtf8(bytes, platform::Windows1252());
  Require(wide.size() <= bytes.size(), "DecodeUtf8 makes at most one unit per byte",
          [&] { return Escaped(bytes) + " gave " + Escaped(wide); });
  if (!HasEscapeLookingText(bytes)) {
    if (auto strict = StrictUtf8ToUtf16(bytes)) {
      Require(wide == *strict, "DecodeUtf8 decodes valid UTF-8 as UTF-8", [&] {
        return Escaped(bytes) + " gave " + Escaped(wide) + " wanted " + Escaped(*strict);
      });
    }
  }
}

void CheckUnits(std::u16string_view units) {
  const std::string utf8 = framework::Utf16ToUtf8(units);
  std::u16string back;
  const bool complete = framework::Utf8ToUtf16(utf8, back);
  // Units are converted one by one, lone surrogates included, so nothing may be lost.
  Require(complete && back == units, "Utf8ToUtf16 reverses Utf16ToUtf8",
          [&] { return Escaped(units) + " as UTF-8 " + Escaped(utf8) + " back " + Escaped(back); });

  const framework::EncodedText encoded = framework::EncodeUtf8(units);
  bool anyHigh = false;
  for (char16_t unit : units)
    anyHigh = anyHigh || unit >= 0x80;
  Require(IsAscii(encoded.text) && encoded.escaped == anyHigh,
          "EncodeUtf8 writes ASCII and says whether it escaped",
          [&] { return Escaped(units) + " gave " + Escaped(encoded.text); });

  // Text the user wrote that looks like an escape is decoded too: that is the price of the
  // format, not a fault, so only other texts must come back unchanged.
  if (!HasEscapeLookingText(units)) {
    const std::u16string decoded = framework::DecodeUtf8(encoded.text, platform::Windows1252());
    Require(decoded == units, "DecodeUtf8 reverses EncodeUtf8", [&] {
      return Escaped(units) + " encoded " + Escaped(encoded.text) + " decoded " + Escaped(decoded);
    });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckBytes(bytes);

  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  CheckUnits(units);
  return 0;
}
