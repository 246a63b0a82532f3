#include "sim/common/json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace sim::json {
namespace {

const char* KindName(Value::Kind kind) {
  switch (kind) {
    case Value::Kind::kNull:
      return "null";
    case Value::Kind::kBool:
      return "true or false";
    case Value::Kind::kNumber:
      return "a number";
    case Value::Kind::kString:
      return "a string";
    case Value::Kind::kArray:
      return "an array";
    case Value::Kind::kObject:
      return "an object";
  }
  return "?";
}

[[noreturn]] void Expected(Value::Kind wanted, Value::Kind got) {
  throw ParseError(std::string("expected ") + KindName(wanted) + ", found " + KindName(got));
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// JSON's own number syntax, stricter than what from_chars takes: no leading zeros ("01"), digits
// on both sides of a point ("1.", ".5"), digits in an exponent ("1e").
// EXAMPLE: -0.25e+3  =  sign, integer part, fraction, exponent
bool IsJsonNumber(std::string_view text) {
  std::size_t at = 0;
  const auto digits = [&] {
    const std::size_t from = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
      ++at;
    return at - from;
  };
  if (at < text.size() && text[at] == '-') ++at;
  if (at < text.size() && text[at] == '0') {
    ++at;
  } else if (digits() == 0) {
    return false;
  }
  if (at < text.size() && text[at] == '.') {
    ++at;
    if (digits() == 0) return false;
  }
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    if (digits() == 0) return false;
  }
  return at == text.size();
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  Value Document() {
    Value value = ParseValue(0);
    SkipSpace();
    if (pos_ != text_.size()) Fail("unexpected text after the value");
    return value;
  }

 private:
  static constexpr int kMaxDepth = 200;

  [[noreturn]] void Fail(const std::string& what) const {
    const Location where = LocationOf(text_, pos_);
    throw ParseError("JSON line " + std::to_string(where.line) + ", column " +
                         std::to_string(where.column) + ": " + what,
                     what, pos_);
  }

  void SkipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\n' || text_[pos_] == '\r')) {
      ++pos_;
    }
  }

  bool Consume(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  Value ParseValue(int depth) {
    SkipSpace();
    const std::size_t start = pos_;
    Value value = ParseBareValue(depth);
    value.SetOffset(start);
    return value;
  }

  Value ParseBareValue(int depth) {
    if (depth > kMaxDepth) Fail("nested too deeply");
    if (pos_ >= text_.size()) Fail("unexpected end of text");
    const char c = text_[pos_];
    if (c == '{') return ParseObject(depth);
    if (c == '[') return ParseArray(depth);
    if (c == '"') return Value(ParseString());
    if (Consume("true")) return Value(true);
    if (Consume("false")) return Value(false);
    if (Consume("null")) return Value();
    if (c == '-' || (c >= '0' && c <= '9')) return ParseNumber();
    Fail(std::string("unexpected character '") + c + "'");
  }

  Value ParseObject(int depth) {
    ++pos_;
    Object members;
    SkipSpace();
    if (Consume("}")) return Value(std::move(members));
    for (;;) {
      SkipSpace();
      if (pos_ >= text_.size() || text_[pos_] != '"') Fail("expected a member name");
      std::string key = ParseString();
      SkipSpace();
      if (!Consume(":")) Fail("expected ':' after a member name");
      members.emplace_back(std::move(key), ParseValue(depth + 1));
      SkipSpace();
      if (Consume("}")) {
        RefuseDuplicates(members);
        return Value(std::move(members));
      }
      if (!Consume(",")) Fail("expected ',' or '}'");
    }
  }

  // A member given twice would keep only one of its values when the file is saved again, so
  // the file is refused instead: the user decides which one is meant.
  void RefuseDuplicates(const Object& members) {
    if (members.size() < 2) return;
    std::vector<const Object::value_type*> byName;
    byName.reserve(members.size());
    for (const auto& member : members)
      byName.push_back(&member);
    // Stable, so that of two equal names the later one in the file is the one named.
    std::stable_sort(byName.begin(), byName.end(),
                     [](const auto* x, const auto* y) { return x->first < y->first; });
    const Object::value_type* later = nullptr;
    for (std::size_t i = 1; i < byName.size(); ++i) {
      if (byName[i]->first != byName[i - 1]->first) continue;
      if (!later || byName[i]->second.Offset() < later->second.Offset()) later = byName[i];
    }
    if (later) {
      pos_ = later->second.Offset();
      Fail("the member \"" + later->first + "\" is given twice");
    }
  }

  Value ParseArray(int depth) {
    ++pos_;
    Array items;
    SkipSpace();
    if (Consume("]")) return Value(std::move(items));
    for (;;) {
      items.push_back(ParseValue(depth + 1));
      SkipSpace();
      if (Consume("]")) return Value(std::move(items));
      if (!Consume(",")) Fail("expected ',' or ']'");
    }
  }

  uint32_t ParseHex4() {
    if (text_.size() - pos_ < 4) Fail("a \\u escape needs four hex digits");
    uint32_t value = 0;
    auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, value, 16);
    if (error != std::errc() || end != text_.data() + pos_ + 4) Fail("bad \\u escape");
    pos_ += 4;
    return value;
  }

  std::string ParseString() {
    ++pos_;  // the opening quote
    std::string out;
    for (;;) {
      // A run of plain characters is copied whole: a string can be megabytes (the base64 of
      // an attachment in a store).
      const char* const plain = text_.data() + pos_;
      const char* const end = text_.data() + text_.size();
      const char* stop = plain;
      while (stop < end && *stop != '"' && *stop != '\\' &&
             static_cast<unsigned char>(*stop) >= 0x20)
        ++stop;
      out.append(plain, stop);
      pos_ += static_cast<std::size_t>(stop - plain);
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char e = text_[pos_++];
      switch (e) {
        case '"':
          out.push_back('"');
          break;
        case '\\':
          out.push_back('\\');
          break;
        case '/':
          out.push_back('/');
          break;
        case 'b':
          out.push_back('\b');
          break;
        case 'f':
          out.push_back('\f');
          break;
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'u': {
          uint32_t code = ParseHex4();
          if (code >= 0xDC00 && code <= 0xDFFF) Fail("unpaired surrogate");
          if (code >= 0xD800 && code < 0xDC00) {
            if (!Consume("\\u")) Fail("unpaired surrogate");
            const uint32_t low = ParseHex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("unpaired surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          Fail(std::string("unknown escape '\\") + e + "'");
      }
    }
  }

  Value ParseNumber() {
    const std::size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    while (pos_ < text_.size() &&
           std::string_view("0123456789.eE+-").find(text_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
    const std::string_view number = text_.substr(start, pos_ - start);
    double value = 0;
    if (!IsJsonNumber(number)) {
      pos_ = start;
      Fail("bad number '" + std::string(number) + "'");
    }
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) {
      pos_ = start;
      Fail("the number " + std::string(number) + " is out of range");
    }
    return Value(value);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// A whole number as its digits; any other as the shortest text that reads back as the same
// double.
std::string NumberText(double number) {
  char buffer[32];
  if (std::nearbyint(number) == number && std::fabs(number) < 9e15) {
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(number));
  } else {
    auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, number);
    *result.ptr = '\0';
  }
  return buffer;
}

void WriteString(std::string& out, const std::string& text) {
  out.push_back('"');
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Runs of characters that need no escape are copied whole, as ParseString reads them.
    const char* const plain = text.data() + i;
    const char* const end = text.data() + text.size();
    const char* stop = plain;
    while (stop < end && *stop != '"' && *stop != '\\' && static_cast<unsigned char>(*stop) >= 0x20)
      ++stop;
    out.append(plain, stop);
    i += static_cast<std::size_t>(stop - plain);
    if (i == text.size()) break;
    const char c = text[i];
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
          out += buffer;
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
}

void WriteValue(std::string& out, const Value& value, int indent) {
  const std::string pad(static_cast<std::size_t>(indent + 2), ' ');
  switch (value.GetKind()) {
    case Value::Kind::kNull:
      out += "null";
      return;
    case Value::Kind::kBool:
      out += value.AsBool() ? "true" : "false";
      return;
    case Value::Kind::kNumber:
      out += NumberText(value.AsNumber());
      return;
    case Value::Kind::kString:
      WriteString(out, value.AsString());
      return;
    case Value::Kind::kArray: {
      const Array& items = value.AsArray();
      if (items.empty()) {
        out += "[]";
        return;
      }
      out += "[\n";
      for (std::size_t i = 0; i < items.size(); ++i) {
        out += pad;
        WriteValue(out, items[i], indent + 2);
        out += i + 1 < items.size() ? ",\n" : "\n";
      }
      out += std::string(static_cast<std::size_t>(indent), ' ') + "]";
      return;
    }
    case Value::Kind::kObject: {
      const Object& members = value.AsObject();
      if (members.empty()) {
        out += "{}";
        return;
      }
      out += "{\n";
      for (std::size_t i = 0; i < members.size(); ++i) {
        out += pad;
        WriteString(out, members[i].first);
        out += ": ";
        WriteValue(out, members[i].second, indent + 2);
        out += i + 1 < members.size() ? ",\n" : "\n";
      }
      out += std::string(static_cast<std::size_t>(indent), ' ') + "}";
      return;
    }
  }
}

}  // namespace

bool Value::AsBool() const {
  if (auto* v = std::get_if<bool>(&data_)) return *v;
  Expected(Kind::kBool, GetKind());
}

double Value::AsNumber() const {
  if (auto* v = std::get_if<double>(&data_)) return *v;
  Expected(Kind::kNumber, GetKind());
}

int64_t Value::AsInteger() const {
  return AsIntegerIn(-kLargestExactInteger, kLargestExactInteger);
}

int64_t Value::AsIntegerIn(int64_t min, int64_t max) const {
  const double number = AsNumber();
  // Compared as a double first: converting a double outside int64_t's range is undefined.
  const bool whole = std::nearbyint(number) == number &&
                     std::fabs(number) <= static_cast<double>(kLargestExactInteger);
  if (!whole || static_cast<int64_t>(number) < min || static_cast<int64_t>(number) > max) {
    throw ParseError("expected a whole number from " + std::to_string(min) + " to " +
                     std::to_string(max) + ", found " + NumberText(number));
  }
  return static_cast<int64_t>(number);
}

const std::string& Value::AsString() const {
  if (auto* v = std::get_if<std::string>(&data_)) return *v;
  Expected(Kind::kString, GetKind());
}

const Array& Value::AsArray() const {
  if (auto* v = std::get_if<Array>(&data_)) return *v;
  Expected(Kind::kArray, GetKind());
}

const Object& Value::AsObject() const {
  if (auto* v = std::get_if<Object>(&data_)) return *v;
  Expected(Kind::kObject, GetKind());
}

Array& Value::MutableArray() {
  return const_cast<Array&>(AsArray());
}
Object& Value::MutableObject() {
  return const_cast<Object&>(AsObject());
}

const Value* Value::Find(std::string_view key) const {
  for (const auto& [name, value] : AsObject()) {
    if (name == key) return &value;
  }
  return nullptr;
}

const Value& Value::At(std::string_view key) const {
  if (const Value* found = Find(key)) return *found;
  throw ParseError("missing member '" + std::string(key) + "'");
}

void Value::Set(std::string key, Value value) {
  Object& members = MutableObject();
  for (auto& [name, existing] : members) {
    if (name == key) {
      existing = std::move(value);
      return;
    }
  }
  members.emplace_back(std::move(key), std::move(value));
}

Location LocationOf(std::string_view text, std::size_t offset) {
  Location where;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++where.line;
      where.column = 1;
    } else {
      ++where.column;
    }
  }
  return where;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    AppendUtf8(out, code);
  }
  return out;
}

bool Utf8ToUtf16(std::string_view bytes, std::u16string& out) {
  out.clear();
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    uint32_t code = 0;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07u;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    if (code >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return true;
}

Value Parse(std::string_view text) {
  return Parser(text).Document();
}

std::string Write(const Value& value) {
  std::string out;
  WriteValue(out, value, 0);
  out += "\n";
  return out;
}

}  // namespace sim::json
