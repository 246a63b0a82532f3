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
};

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
  int64_t AsInteger() const;  // raises when the number is not whole
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

 private:
  std::variant<std::monostate, bool, double, std::string, Array, Object> data_;
};

// Raises ParseError with the line and column of the first fault.
Value Parse(std::string_view text);
// Two-space indentation, one member per line, a final line break.
std::string Write(const Value& value);

}  // namespace sim::json
