#include "framework/text_util.h"

#include <algorithm>

namespace framework {
namespace {

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

}  // namespace

std::string_view TrimControl(std::string_view text) {
  std::size_t first = 0, last = text.size();
  while (first < last && IsBlankOrControl(text[first]))
    ++first;
  while (last > first && IsBlankOrControl(text[last - 1]))
    --last;
  return text.substr(first, last - first);
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size());
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%' || i + 1 >= pattern.size()) {
      out.push_back(c);
      continue;
    }
    const char kind = pattern[i + 1];
    if (kind == '%') {
      out.push_back('%');
      ++i;
    } else if (kind == 's' || kind == 'd') {
      if (next != args.end()) out.append(*next++);
      ++i;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return UpperAscii(a) == UpperAscii(b); });
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (std::size_t next; (next = text.find(from, at)) != std::string_view::npos;
       at = next + from.size()) {
    out.append(text.substr(at, next - at)).append(to);
  }
  out.append(text.substr(at));
  return out;
}

std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view from,
                                   std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.size() - i >= from.size() &&
        std::equal(from.begin(), from.end(), text.begin() + static_cast<std::ptrdiff_t>(i),
                   [](char a, char b) { return UpperAscii(a) == UpperAscii(b); })) {
      out.append(to);
      i += from.size();
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

std::string EscapeForDisplay(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\r':
        out += "\\r";
        continue;
      case '\n':
        out += "\\n";
        continue;
      case '\t':
        out += "\\t";
        continue;
      case '\\':
        out += "\\\\";
        continue;
      default:
        break;
    }
    if (byte >= 0x20 && byte <= 0x7E) {
      out.push_back(c);
    } else {
      out += "\\x";
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0xF]);
    }
  }
  return out;
}

}  // namespace framework
