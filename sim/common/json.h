#pragma once

// A small JSON reader and writer for the files of the simulators and tools (registry, GroupWise
// store, profiles). Objects keep their members in file order, so a file loaded and saved again
// reads the same. Text is UTF-8.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/exception.h"

namespace sim::json {

class ParseError : public platform::Exception {
 public:
  using Exception::Exception;
  // A fault at a known place: the message reads "JSON line L, column C: detail".
  ParseError(std::string message, std::string detail, std::size_t offset)
      : Exception(std::move(message)), detail_(std::move(detail)), offset_(offset) {}

  // The byte offset of the fault in the parsed text; kNoOffset when it is not known.
  static constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);
  std::size_t Offset() const { return offset_; }
  // The message without its position.
  std::string Detail() const { return detail_.empty() ? std::string(what()) : detail_; }

 private:
  std::string detail_;
  std::size_t offset_ = kNoOffset;
};

// Line and column (both from 1) of a byte offset, for messages that point into a file.
struct Location {
  std::size_t line = 1;
  std::size_t column = 1;
};
Location LocationOf(std::string_view text, std::size_t offset);

class Value;
using Array = std::vector<Value>;
using Object = std::vector<std::pair<std::string, Value>>;

class Value {
 public:
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };

  Value() = default;
  Value(std::nullptr_t) {}
  Value(bool value) : data_(value) {}
  Value(double value) : data_(value) {}
  Value(int value) : data_(static_cast<double>(value)) {}
  Value(int64_t value) : data_(static_cast<double>(value)) {}
  Value(uint32_t value) : data_(static_cast<double>(value)) {}
  Value(std::string value) : data_(std::move(value)) {}
  Value(const char* value) : data_(std::string(value)) {}
  Value(Array value) : data_(std::move(value)) {}
  Value(Object value) : data_(std::move(value)) {}

  Kind GetKind() const { return static_cast<Kind>(data_.index()); }
  bool IsNull() const { return GetKind() == Kind::kNull; }

  // Each raises ParseError naming what was expected when the kind differs.
  bool AsBool() const;
  double AsNumber() const;
  // A whole number from -2^53 to 2^53 (every one of them a double holds exactly).
  int64_t AsInteger() const;
  // A whole number from `min` to `max`, which must lie within AsInteger's range: anything else,
  // a fraction or a number too large for any integer among them, raises before a conversion.
  int64_t AsIntegerIn(int64_t min, int64_t max) const;
  static constexpr int64_t kLargestExactInteger = int64_t{1} << 53;
  const std::string& AsString() const;
  const Array& AsArray() const;
  const Object& AsObject() const;
  Array& MutableArray();
  Object& MutableObject();

  // The member of an object; nullptr when absent (raises when this is not an object).
  const Value* Find(std::string_view key) const;
  // The member, raising ParseError "missing member 'key'" when absent.
  const Value& At(std::string_view key) const;
  // Sets or adds a member, keeping the order of existing ones.
  void Set(std::string key, Value value);

  // Where Parse found the value in its text (LocationOf turns it into a line and column);
  // ParseError::kNoOffset for a value built in code.
  std::size_t Offset() const { return offset_; }
  void SetOffset(std::size_t offset) { offset_ = offset; }

 private:
  std::variant<std::monostate, bool, double, std::string, Array, Object> data_;
  std::size_t offset_ = ParseError::kNoOffset;
};

// Raises ParseError with the line and column of the first fault.
Value Parse(std::string_view text);
// Two-space indentation, one member per line, a final line break.
std::string Write(const Value& value);

// The files hold UTF-8; the automation objects hold UTF-16. A lone surrogate is written as
// U+FFFD, since UTF-8 cannot carry it.
std::string Utf16ToUtf8(std::u16string_view text);
// False (and `out` unspecified) when the bytes are not well-formed UTF-8.
bool Utf8ToUtf16(std::string_view bytes, std::u16string& out);

}  // namespace sim::json
