#include "framework/versit_property.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "framework/text_util.h"

namespace framework {
namespace {

constexpr std::string_view kFoldedBreak = "=\r=\n=";  // what the record parser leaves of a fold
constexpr std::string_view kWireFold = "=0D=0A=\r\n";

// A record is addressed by 32-bit offsets; one larger than that cannot be kept.
uint32_t Offset(std::size_t position) {
  if (position > std::numeric_limits<uint32_t>::max()) {
    throw std::length_error("A record of more than 4 GiB cannot be kept");
  }
  return static_cast<uint32_t>(position);
}

// Appends the text with every CR LF written as a fold, in runs between the breaks.
void AppendFolded(std::string& out, std::string_view text) {
  std::size_t from = 0;
  for (;;) {
    const void* found = std::memchr(text.data() + from, '\r', text.size() - from);
    if (!found) break;
    const auto cr = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    if (cr + 1 < text.size() && text[cr + 1] == '\n') {
      out.append(text, from, cr - from);
      out.append(kWireFold);
      from = cr + 2;
    } else {
      out.append(text, from, cr + 1 - from);
      from = cr + 1;
    }
  }
  out.append(text, from);
}

void SetTextValue(std::string& value, std::string_view text, std::size_t start,
                  bool quotedPrintable) {
  std::size_t i = start;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r') {
      value.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\n') return;  // the line ends here
    if (quotedPrintable && i > start && text.substr(i - 1, kFoldedBreak.size()) == kFoldedBreak) {
      // The "=" that opened the fold becomes the CR.
      if (!value.empty() && value.back() == '=') {
        value.back() = '\r';
      } else {
        value.push_back('\r');
      }
      value.push_back('\n');
      i += kFoldedBreak.size() - 1;
      continue;
    }
    value.push_back('\r');
    ++i;
  }
}

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

std::optional<BinaryValue> ReadBinaryValue(std::string_view text) {
  const std::size_t separator = text.find(';');
  if (separator == std::string_view::npos) return std::nullopt;
  // ";" then "*", 8 digits and "*"; the asterisks have never been checked.
  const std::string_view header = text.substr(separator + 1, kBinaryLengthDigits + 2);
  const int32_t length =
      header.size() == kBinaryLengthDigits + 2 ? ParseBinaryLength(header.substr(1, 8)) : 0;
  if (length < 1) return BinaryValue{};
  const std::size_t dataStart = separator + 1 + kBinaryLengthDigits + 2;
  const auto size = static_cast<std::size_t>(length);
  if (text.size() - dataStart < size) return std::nullopt;  // fewer bytes than announced
  return BinaryValue{text.substr(0, separator), text.substr(dataStart, size)};
}

bool TvPropertyView::IsBinary() const {
  return Contains(Parameters, kBinaryParameter);
}

std::string TvPropertyView::GetText() const {
  std::string line;
  AppendText(line);
  return line;
}

void TvPropertyView::AppendText(std::string& out) const {
  out += Name;
  if (!Parameters.empty()) {
    out += ';';
    out += Parameters;
  }
  out += ':';
  // Folding would change the bytes a binary length counts, so binary data is written as is.
  if (Contains(Parameters, kQuotedPrintable) && !IsBinary()) {
    AppendFolded(out, Value);
  } else {
    out += Value;
  }
}

bool TvPropertyView::HasParameter(std::string_view text) const {
  if (text.empty()) return Parameters.empty();
  return Contains(Parameters, text);
}

std::string TvPropertyView::GetValueComponent(std::size_t index) const {
  if (Value.find(';') == std::string_view::npos) return {};
  std::size_t start = 0;
  for (std::size_t part = 0; part < index; ++part) {
    start = Value.find(';', start);
    if (start == std::string_view::npos) return {};
    ++start;
  }
  const std::size_t end = Value.find(';', start);
  return std::string(
      Value.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::optional<std::string> TvPropertyView::GetParameterValue(std::string_view name) const {
  const std::string key = std::string(name) + "=";
  const std::size_t at = Parameters.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  const std::size_t start = at + key.size();
  const std::size_t end = Parameters.find_first_of(";:", start);
  return std::string(Parameters.substr(
      start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::string TvProperty::EncodeLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendFolded(out, text);
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
        if (const std::optional<BinaryValue> value = ReadBinaryValue(text.substr(i + 1))) {
          Value.reserve(value->prefix.size() + kBinaryLengthDigits + 3 + value->data.size());
          Value.append(value->prefix).append(";*").append(FormatBinaryLength(value->data.size()));
          Value.append("*").append(value->data);
        }
      } else {
        SetTextValue(Value, text, i + 1, Contains(Parameters, kQuotedPrintable));
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

TvPropertyView TvProperties::View(std::size_t index) const {
  const Slot& slot = slots_[index];
  const std::string_view bytes = bytes_;
  const std::size_t start = Start(index);
  const std::size_t parametersStart =
      slot.nameEnd == slot.valueStart ? slot.valueStart : slot.nameEnd + 1;  // after the ";"
  return {bytes.substr(start, slot.nameEnd - start),
          bytes.substr(parametersStart, slot.valueStart - parametersStart),
          bytes.substr(slot.valueStart, slot.end - slot.valueStart)};
}

TvPropertyView TvProperties::operator[](std::size_t index) const {
  if (index >= slots_.size()) throw std::out_of_range("No property at this index");
  return View(index);
}

void TvProperties::ThrowRecordTooLarge() {
  throw std::length_error("A record of more than 4 GiB cannot be kept");
}

void TvProperties::Add(std::string_view name, std::string_view parameters, std::string_view value) {
  const auto inside = [this](std::string_view text) {
    return !text.empty() && text.data() >= bytes_.data() &&
           text.data() < bytes_.data() + bytes_.capacity();
  };
  if (inside(name) || inside(parameters) || inside(value)) {
    // Growing the buffer would move the texts being copied: copy them out first.
    const std::string copies[] = {std::string(name), std::string(parameters), std::string(value)};
    Add(copies[0], copies[1], copies[2]);
    return;
  }
  bytes_.reserve(bytes_.size() + name.size() + 1 + parameters.size() + value.size());
  foldedBreaks_ += FoldedBreaks(parameters, value);
  bytes_.append(name);
  const std::size_t nameEnd = bytes_.size();
  if (!parameters.empty()) bytes_.append(";").append(parameters);
  const std::size_t valueStart = bytes_.size();
  bytes_.append(value);
  CloseProperty(nameEnd, valueStart, bytes_.size());
}

void TvProperties::Insert(std::size_t index, std::string_view name, std::string_view parameters,
                          std::string_view value) {
  if (index >= slots_.size()) {
    Add(name, parameters, value);
    return;
  }
  std::string text;
  text.reserve(name.size() + 1 + parameters.size() + value.size());
  text.append(name);
  if (!parameters.empty()) text.append(";").append(parameters);
  const std::size_t nameEnd = name.size();
  const std::size_t valueStart = text.size();
  text.append(value);
  const std::size_t start = Start(index);
  foldedBreaks_ += FoldedBreaks(parameters, value);
  Splice(start, start, text, index);
  slots_.insert(
      slots_.begin() + static_cast<std::ptrdiff_t>(index),
      Slot{Offset(start + nameEnd), Offset(start + valueStart), Offset(start + text.size())});
}

void TvProperties::SetValue(std::size_t index, std::string_view value) {
  if (index >= slots_.size()) throw std::out_of_range("No property at this index");
  const TvPropertyView old = View(index);
  foldedBreaks_ += FoldedBreaks(old.Parameters, value);
  foldedBreaks_ -= FoldedBreaks(old.Parameters, old.Value);
  const std::size_t valueStart = slots_[index].valueStart;
  Splice(valueStart, slots_[index].end, value, index + 1);
  slots_[index].end = Offset(valueStart + value.size());
}

void TvProperties::Splice(std::size_t from, std::size_t to, std::string_view text,
                          std::size_t firstMovedSlot) {
  const std::string copy(text);  // the text may be a view into bytes_ itself
  bytes_.replace(from, to - from, copy);
  const auto moved = static_cast<int64_t>(copy.size()) - static_cast<int64_t>(to - from);
  const auto move = [moved](uint32_t& offset) {
    offset = Offset(static_cast<std::size_t>(static_cast<int64_t>(offset) + moved));
  };
  for (std::size_t i = firstMovedSlot; i < slots_.size(); ++i) {
    move(slots_[i].nameEnd);
    move(slots_[i].valueStart);
    move(slots_[i].end);
  }
}

void TvProperties::Clear() {
  bytes_.clear();
  slots_.clear();
  foldedBreaks_ = 0;
}

std::size_t TvProperties::FoldedBreaks(std::string_view parameters, std::string_view value) {
  const TvPropertyView property{{}, parameters, value};
  if (!Contains(parameters, kQuotedPrintable) || property.IsBinary()) return 0;
  std::size_t count = 0;
  for (std::size_t at = value.find("\r\n"); at != std::string_view::npos;
       at = value.find("\r\n", at + 2))
    ++count;
  return count;
}

std::size_t TvProperties::VersitSize() const {
  // ":" and CR LF around each property's texts, and the marks of each fold.
  return bytes_.size() + slots_.size() * 3 + foldedBreaks_ * (kWireFold.size() - 2);
}

void TvProperties::AppendVersit(std::string& out) const {
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    View(i).AppendText(out);
    out += "\r\n";
  }
}

void TvProperties::ShrinkToFit() {
  bytes_.shrink_to_fit();
  slots_.shrink_to_fit();
}

}  // namespace framework
