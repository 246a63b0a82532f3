#include "framework/versit_property.h"

#include <cstdio>

#include "framework/text_util.h"

namespace framework {
namespace {

constexpr std::string_view kFoldedBreak = "=\r=\n=";  // what the record parser leaves of a fold

}  // namespace

int32_t ParseBinaryLength(std::string_view digits) {
  if (digits.size() != kBinaryLengthDigits) return 0;
  uint32_t value = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return 0;
    }
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return static_cast<int32_t>(value);
}

std::string FormatBinaryLength(std::size_t length) {
  char buffer[17];
  std::snprintf(buffer, sizeof buffer, "%08llX", static_cast<unsigned long long>(length));
  return buffer;
}

bool TvProperty::IsBinary() const {
  return Contains(Parameters, kBinaryParameter);
}

std::string TvProperty::GetText() const {
  std::string line = Name;
  if (!Parameters.empty()) {
    line.push_back(';');
    line += Parameters;
  }
  line.push_back(':');
  // Folding would change the bytes a binary length counts, so binary data is written as is.
  if (Contains(Parameters, kQuotedPrintable) && !IsBinary()) {
    line += EncodeLineBreaks(Value);
  } else {
    line += Value;
  }
  return line;
}

std::string TvProperty::EncodeLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "=0D=0A=\r\n";
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// EXAMPLE: DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:a=\r=\n=b
//   name state:   "DESCRIPTION" until the first ";"
//   parameters:   "QUOTED-PRINTABLE;CHARSET=UTF-8" until the first ":"
//   value:        "a" CR LF "b" (the folded break restored)
void TvProperty::SetText(std::string_view text) {
  enum class State { kName, kParameters };
  State state = State::kName;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ':') {
      if (IsBinary()) {
        SetBinaryValue(text.substr(i + 1));
      } else {
        SetTextValue(text, i + 1);
      }
      return;
    }
    if (state == State::kName) {
      if (c == ';') {
        state = State::kParameters;
      } else {
        Name.push_back(c);
      }
    } else {
      Parameters.push_back(c);
    }
  }
}

void TvProperty::SetTextValue(std::string_view text, std::size_t start) {
  const bool quotedPrintable = Contains(Parameters, kQuotedPrintable);
  std::size_t i = start;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r') {
      Value.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\n') return;  // the line ends here
    if (quotedPrintable && i > start && text.substr(i - 1, kFoldedBreak.size()) == kFoldedBreak) {
      // The "=" that opened the fold becomes the CR.
      if (!Value.empty() && Value.back() == '=') {
        Value.back() = '\r';
      } else {
        Value.push_back('\r');
      }
      Value.push_back('\n');
      i += kFoldedBreak.size() - 1;
      continue;
    }
    Value.push_back('\r');
    ++i;
  }
}

void TvProperty::SetBinaryValue(std::string_view data) {
  const std::size_t separator = data.find(';');
  if (separator == std::string_view::npos) return;
  const std::string_view prefix = data.substr(0, separator);
  // ";" then "*", 8 digits and "*"; the asterisks have never been checked.
  const std::string_view header = data.substr(separator + 1, kBinaryLengthDigits + 2);
  const int32_t length =
      header.size() == kBinaryLengthDigits + 2 ? ParseBinaryLength(header.substr(1, 8)) : 0;
  if (length < 1) {
    Value = ";*" + std::string(kBinaryLengthDigits, '0') + "*";
    return;
  }
  const std::size_t dataStart = separator + 1 + kBinaryLengthDigits + 2;
  const auto size = static_cast<std::size_t>(length);
  if (data.size() - dataStart < size) return;  // fewer bytes than announced: nothing to keep
  Value.reserve(prefix.size() + dataStart - separator + size);
  Value.assign(prefix);
  Value += ";*";
  Value += FormatBinaryLength(size);
  Value += "*";
  Value.append(data.substr(dataStart, size));
}

bool TvProperty::HasParameter(std::string_view text) const {
  if (text.empty()) return Parameters.empty();
  return Contains(Parameters, text);
}

std::string TvProperty::GetValueComponent(std::size_t index) const {
  if (Value.find(';') == std::string::npos) return {};
  std::size_t start = 0;
  for (std::size_t part = 0; part < index; ++part) {
    start = Value.find(';', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  const std::size_t end = Value.find(';', start);
  return Value.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::optional<std::string> TvProperty::GetParameterValue(std::string_view name) const {
  const std::string key = std::string(name) + "=";
  const std::size_t at = Parameters.find(key);
  if (at == std::string::npos) return std::nullopt;
  const std::size_t start = at + key.size();
  const std::size_t end = Parameters.find_first_of(";:", start);
  return Parameters.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

TvProperty& TvProperties::Add() {
  return *items_.emplace_back(std::make_unique<TvProperty>());
}

TvProperty& TvProperties::Insert(std::size_t index) {
  if (index > items_.size()) index = items_.size();
  auto it = items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index),
                          std::make_unique<TvProperty>());
  return **it;
}

}  // namespace framework
