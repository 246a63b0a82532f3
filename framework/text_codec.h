#pragma once

// Moving text between GroupWise's wide strings and the device's 8-bit property values:
// UTF-8, and "=XX" escapes for bytes of 0x80 and above.

#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace framework {

struct EncodedText {
  std::string text;
  bool escaped = false;  // at least one byte was written as "=XX"
};

// Every byte of 0x80 or more becomes "=" and two upper-case hex digits. Everything else,
// "=" and control characters included, stays as it is.
EncodedText EncodeHighBytes(std::string_view text);

// UTF-8 (each UTF-16 code unit on its own, surrogates are not combined), then EncodeHighBytes.
EncodedText EncodeUtf8(std::u16string_view text);

// Reverses EncodeHighBytes where that is safe to tell from the text: a run of upper-case
// escapes that forms complete UTF-8 sequences (=E2=82=AC, the euro sign) is decoded whole;
// other runs are decoded two escapes at a time, so a lone escape (=E9) and the odd last escape
// of a run stay as they are. Lower-case escapes are never decoded.
std::string DecodeEscapes(std::string_view text);

// DecodeEscapes, then UTF-8 to UTF-16. A text that ends inside a UTF-8 sequence cannot be
// decoded; it is then returned undecoded, widened through the ANSI code page like every other
// 8-bit text the plug-ins hand to GroupWise.
std::u16string DecodeUtf8(std::string_view text, const platform::CodePage& ansi);

bool HasHighBytes(std::string_view text);

// The raw conversions under the two above.
std::string Utf16ToUtf8(std::u16string_view text);
// False when the text ends inside a sequence; bytes are not otherwise validated.
bool Utf8ToUtf16(std::string_view bytes, std::u16string& out);

}  // namespace framework
