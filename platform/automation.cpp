#include "platform/automation.h"

#include <charconv>
#include <cmath>
#include <string>

namespace platform {
namespace {

std::u16string Widen(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::string NarrowAscii(std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char16_t c : text)
    result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return result;
}

std::u16string FormatDouble(double value) {
  char buffer[64];
  // 15 significant digits, the precision the automation runtime prints doubles with.
  auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return Widen(std::string_view(buffer, result.ptr - buffer));
}

std::string Trimmed(std::u16string_view text) {
  std::string narrow = NarrowAscii(text);
  auto first = narrow.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  auto last = narrow.find_last_not_of(' ');
  return narrow.substr(first, last - first + 1);
}

AutomationError Mismatch(const std::string& what) {
  return AutomationError("", hresult::kTypeMismatch, what);
}

int32_t RoundToInt32(double value) {
  double rounded = std::nearbyint(value);  // to even, as the runtime rounds
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    throw AutomationError("", static_cast<int32_t>(0x8002000Au), "Overflow");  // DISP_E_OVERFLOW
  }
  return static_cast<int32_t>(rounded);
}

}  // namespace

AutomationError::AutomationError(std::string member, int32_t hresult, std::string text)
    : Exception(std::move(text)), member_(std::move(member)), hresult_(hresult) {}

const char* KindName(Variant::Kind kind) {
  switch (kind) {
    case Variant::Kind::kEmpty:
      return "Empty";
    case Variant::Kind::kNull:
      return "Null";
    case Variant::Kind::kBool:
      return "Boolean";
    case Variant::Kind::kInt16:
      return "Smallint";
    case Variant::Kind::kInt32:
      return "Integer";
    case Variant::Kind::kDouble:
      return "Double";
    case Variant::Kind::kDate:
      return "Date";
    case Variant::Kind::kText:
      return "OleStr";
    case Variant::Kind::kObject:
      return "Dispatch";
    case Variant::Kind::kUnknown:
      return "Unknown";
    case Variant::Kind::kTextArray:
      return "Array OleStr";
    case Variant::Kind::kByRef:
      return "ByRef";
  }
  return "?";
}

void Variant::ThrowMismatch(Kind wanted) const {
  throw Mismatch(std::string("Could not convert variant of type (") + KindName(Deref().GetKind()) +
                 ") into type (" + KindName(wanted) + ")");
}

bool Variant::IsEmptyOrNull() const {
  const Variant& v = Deref();
  if (v.IsEmpty() || v.IsNull()) return true;
  if (const Object* object = std::get_if<Object>(&v.value_)) return !*object;
  return false;
}

std::u16string Variant::ToText() const {
  const Variant& v = Deref();
  switch (v.GetKind()) {
    case Kind::kEmpty:
      return u"";
    case Kind::kBool:
      return std::get<bool>(v.value_) ? u"True" : u"False";
    case Kind::kInt16:
      return Widen(std::to_string(std::get<int16_t>(v.value_)));
    case Kind::kInt32:
      return Widen(std::to_string(std::get<int32_t>(v.value_)));
    case Kind::kDouble:
      return FormatDouble(std::get<double>(v.value_));
    case Kind::kDate:
      return FormatDouble(std::get<AutomationDate>(v.value_).days);
    case Kind::kText:
      return std::get<std::u16string>(v.value_);
    default:
      v.ThrowMismatch(Kind::kText);
  }
}

double Variant::ToDouble() const {
  const Variant& v = Deref();
  switch (v.GetKind()) {
    case Kind::kEmpty:
      return 0.0;
    case Kind::kBool:
      return std::get<bool>(v.value_) ? -1.0 : 0.0;
    case Kind::kInt16:
      return std::get<int16_t>(v.value_);
    case Kind::kInt32:
      return std::get<int32_t>(v.value_);
    case Kind::kDouble:
      return std::get<double>(v.value_);
    case Kind::kDate:
      return std::get<AutomationDate>(v.value_).days;
    case Kind::kText: {
      std::string text = Trimmed(std::get<std::u16string>(v.value_));
      double value = 0;
      auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        v.ThrowMismatch(Kind::kDouble);
      }
      return value;
    }
    default:
      v.ThrowMismatch(Kind::kDouble);
  }
}

int32_t Variant::ToInt32() const {
  const Variant& v = Deref();
  switch (v.GetKind()) {
    case Kind::kInt16:
      return std::get<int16_t>(v.value_);
    case Kind::kInt32:
      return std::get<int32_t>(v.value_);
    case Kind::kText: {
      std::string text = Trimmed(std::get<std::u16string>(v.value_));
      int32_t value = 0;
      auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (!text.empty() && error == std::errc() && end == text.data() + text.size()) return value;
      return RoundToInt32(v.ToDouble());
    }
    default:
      return RoundToInt32(v.ToDouble());
  }
}

bool Variant::ToBool() const {
  const Variant& v = Deref();
  switch (v.GetKind()) {
    case Kind::kBool:
      return std::get<bool>(v.value_);
    case Kind::kText: {
      std::string text = Trimmed(std::get<std::u16string>(v.value_));
      if (SameMemberName(text, "True")) return true;
      if (SameMemberName(text, "False")) return false;
      return v.ToDouble() != 0.0;
    }
    default:
      return v.ToDouble() != 0.0;
  }
}

AutomationDate Variant::ToDate() const {
  const Variant& v = Deref();
  if (v.GetKind() == Kind::kText) v.ThrowMismatch(Kind::kDate);
  return AutomationDate{v.ToDouble()};
}

Object Variant::ToObject() const {
  const Variant& v = Deref();
  if (v.IsEmpty() || v.IsNull()) return Object();
  return v.AsObject();
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.value_.index() != b.value_.index()) return false;
  return std::visit(
      [&b](const auto& value) -> bool {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::monostate> || std::is_same_v<T, Variant::NullTag>) {
          return true;
        } else if constexpr (std::is_same_v<T, Variant::ByRef>) {
          return value.target == std::get<T>(b.value_).target;
        } else {
          return value == std::get<T>(b.value_);
        }
      },
      a.value_);
}

bool SameMemberName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

Variant Object::GetProperty(std::string_view name, std::initializer_list<Variant> args) const {
  if (!dispatch_) {
    throw Exception("Invalid variant operation: " + std::string(name) + " of an empty object");
  }
  return dispatch_->InvokeMember(name, Dispatch::Invoke::kPropertyGet,
                                 std::span<const Variant>(args.begin(), args.size()));
}

void Object::PutProperty(std::string_view name, const Variant& value) const {
  if (!dispatch_) {
    throw Exception("Invalid variant operation: " + std::string(name) + " of an empty object");
  }
  dispatch_->InvokeMember(name, Dispatch::Invoke::kPropertyPut,
                          std::span<const Variant>(&value, 1));
}

Variant Object::Call(std::string_view name, std::initializer_list<Variant> args) const {
  return Call(name, std::span<const Variant>(args.begin(), args.size()));
}

Variant Object::Call(std::string_view name, std::span<const Variant> args) const {
  if (!dispatch_) {
    throw Exception("Invalid variant operation: " + std::string(name) + " of an empty object");
  }
  return dispatch_->InvokeMember(name, Dispatch::Invoke::kMethod, args);
}

}  // namespace platform
