#pragma once

// Late-bound automation: a value type for automation arguments and results, and a handle on an
// object whose members are reached by name. The Win32 backend drives a real IDispatch through
// it; the simulators and the test fakes implement Dispatch directly in C++.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/automation_date.h"
#include "platform/exception.h"

namespace platform {

class Dispatch;
class Variant;

// An automation failure: which member failed, the HRESULT and the error's own text. The message
// (what()) is the error's text, which is what the plug-ins trace.
class AutomationError : public Exception {
 public:
  AutomationError(std::string member, int32_t hresult, std::string text);
  const std::string& Member() const { return member_; }
  int32_t HResult() const { return hresult_; }

 private:
  std::string member_;
  int32_t hresult_;
};

// HRESULTs the portable side raises with; the values are those of the Windows headers.
namespace hresult {
inline constexpr int32_t kOk = 0;
inline constexpr int32_t kFalse = 1;
inline constexpr int32_t kFail = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002u);
inline constexpr int32_t kUnknownName = static_cast<int32_t>(0x80020006u);  // DISP_E_UNKNOWNNAME
inline constexpr int32_t kMemberNotFound =
    static_cast<int32_t>(0x80020003u);  // DISP_E_MEMBERNOTFOUND
inline constexpr int32_t kTypeMismatch = static_cast<int32_t>(0x80020005u);  // DISP_E_TYPEMISMATCH
inline constexpr int32_t kBadParamCount =
    static_cast<int32_t>(0x8002000Eu);                                    // DISP_E_BADPARAMCOUNT
inline constexpr int32_t kException = static_cast<int32_t>(0x80020009u);  // DISP_E_EXCEPTION
inline constexpr int32_t kClassNotRegistered = static_cast<int32_t>(0x80040154u);
inline constexpr int32_t kInvalidClassString =
    static_cast<int32_t>(0x800401F3u);  // CO_E_CLASSSTRING
}  // namespace hresult

// An interface pointer that is not (known to be) dispatchable. The Win32 backend derives a
// holder of an IUnknown from it; the portable side uses it for plain opaque handles.
class Unknown {
 public:
  virtual ~Unknown() = default;
};

// A late-bound automation object. Copies share the same object; an empty handle is the null
// object (VT_DISPATCH with a null pointer).
class Object {
 public:
  Object() = default;
  explicit Object(std::shared_ptr<Dispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  explicit operator bool() const { return dispatch_ != nullptr; }
  Dispatch* Get() const { return dispatch_.get(); }
  const std::shared_ptr<Dispatch>& Shared() const { return dispatch_; }

  // Each raises AutomationError when the member fails, and platform::Exception when the
  // handle is null.
  Variant GetProperty(std::string_view name, std::initializer_list<Variant> args = {}) const;
  void PutProperty(std::string_view name, const Variant& value) const;
  Variant Call(std::string_view name, std::initializer_list<Variant> args = {}) const;
  Variant Call(std::string_view name, std::span<const Variant> args) const;

  friend bool operator==(const Object& a, const Object& b) { return a.dispatch_ == b.dispatch_; }

 private:
  std::shared_ptr<Dispatch> dispatch_;
};

// The value of an automation argument or result.
class Variant {
 public:
  enum class Kind {
    kEmpty,      // VT_EMPTY: no value at all
    kNull,       // VT_NULL: the explicit "no data" value
    kBool,       // VT_BOOL
    kInt16,      // VT_I2
    kInt32,      // VT_I4
    kDouble,     // VT_R8
    kDate,       // VT_DATE
    kText,       // VT_BSTR: UTF-16 code units
    kObject,     // VT_DISPATCH
    kUnknown,    // VT_UNKNOWN
    kTextArray,  // VT_ARRAY | VT_BSTR, one dimension
    kByRef,      // VT_BYREF to the caller's variable: an out parameter
  };
  struct NullTag {};
  struct ByRef {
    Variant* target;
  };

  Variant() = default;
  Variant(bool value) : value_(value) {}
  Variant(int16_t value) : value_(value) {}
  Variant(int32_t value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(AutomationDate value) : value_(value) {}
  Variant(std::u16string value) : value_(std::move(value)) {}
  Variant(std::u16string_view value) : value_(std::u16string(value)) {}
  Variant(const char16_t* value) : value_(std::u16string(value)) {}
  Variant(Object value) : value_(std::move(value)) {}
  Variant(std::shared_ptr<Unknown> value) : value_(std::move(value)) {}
  Variant(std::vector<std::u16string> value) : value_(std::move(value)) {}
  // Deliberately no constructor from 8-bit text: which code page applies is the caller's choice.
  Variant(const char*) = delete;
  Variant(std::string) = delete;

  static Variant Null() { return Variant(NullTag{}); }
  // An out parameter: the callee reads the target's current value and stores its answer there.
  // The target must outlive the call; its current kind decides the VT_BYREF type.
  static Variant Reference(Variant& target) { return Variant(ByRef{&target}); }

  Kind GetKind() const { return static_cast<Kind>(value_.index()); }
  bool IsEmpty() const { return GetKind() == Kind::kEmpty; }
  bool IsNull() const { return GetKind() == Kind::kNull; }
  // Empty, null, or an object variant holding the null object: what callers treat as "no result".
  bool IsEmptyOrNull() const;

  // Exact accessors: raise a type-mismatch AutomationError when the kind differs.
  bool AsBool() const { return Exact<bool>(); }
  int16_t AsInt16() const { return Exact<int16_t>(); }
  int32_t AsInt32() const { return Exact<int32_t>(); }
  double AsDouble() const { return Exact<double>(); }
  AutomationDate AsDate() const { return Exact<AutomationDate>(); }
  const std::u16string& AsText() const { return Exact<std::u16string>(); }
  const Object& AsObject() const { return Exact<Object>(); }
  const std::shared_ptr<Unknown>& AsUnknown() const { return Exact<std::shared_ptr<Unknown>>(); }
  const std::vector<std::u16string>& AsTextArray() const {
    return Exact<std::vector<std::u16string>>();
  }
  Variant& Target() const { return *Exact<ByRef>().target; }

  // Coercions, following the automation runtime's rules for the kinds the plug-ins meet:
  // numbers and booleans convert between each other and to text, text converts to numbers when
  // it is one. Null raises (there is no value to convert); empty gives 0, false or "".
  std::u16string ToText() const;
  int32_t ToInt32() const;
  double ToDouble() const;
  bool ToBool() const;
  AutomationDate ToDate() const;
  Object ToObject() const;  // empty and null give the null object

  // A by-reference variant answers for its target.
  const Variant& Deref() const { return GetKind() == Kind::kByRef ? Target() : *this; }

  friend bool operator==(const Variant& a, const Variant& b);

 private:
  explicit Variant(NullTag tag) : value_(tag) {}
  explicit Variant(ByRef ref) : value_(ref) {}
  template <typename T>
  const T& Exact() const;
  [[noreturn]] void ThrowMismatch(Kind wanted) const;
  template <typename T, std::size_t I = 0>
  static constexpr Kind KindOf() {
    if constexpr (std::is_same_v<T, std::variant_alternative_t<I, decltype(value_)>>) {
      return static_cast<Kind>(I);
    } else {
      return KindOf<T, I + 1>();
    }
  }

  std::variant<std::monostate, NullTag, bool, int16_t, int32_t, double, AutomationDate,
               std::u16string, Object, std::shared_ptr<Unknown>, std::vector<std::u16string>, ByRef>
      value_;
};

const char* KindName(Variant::Kind kind);

// What a late-bound object implements. Member names are matched without regard to case, as
// IDispatch name lookup does.
class Dispatch {
 public:
  enum class Invoke { kMethod, kPropertyGet, kPropertyPut };
  virtual ~Dispatch() = default;
  // Arguments in their natural order (first argument first). A property put carries the new
  // value as its last argument. Raises AutomationError on failure.
  virtual Variant InvokeMember(std::string_view name, Invoke kind,
                               std::span<const Variant> args) = 0;
};

// Creates automation objects by ProgID ("NovellGroupWareSession"). Raises AutomationError with
// the class-not-registered HRESULT when nothing answers to the name.
class ObjectFactory {
 public:
  virtual ~ObjectFactory() = default;
  virtual Object CreateObject(std::string_view progId) = 0;
};

// Compares member names the way IDispatch name lookup does (ASCII, case-insensitive).
bool SameMemberName(std::string_view a, std::string_view b);

template <typename T>
const T& Variant::Exact() const {
  if (const T* value = std::get_if<T>(&value_)) return *value;
  if constexpr (!std::is_same_v<T, ByRef>) {
    if (const ByRef* ref = std::get_if<ByRef>(&value_)) return ref->target->Exact<T>();
  }
  ThrowMismatch(KindOf<T>());
}

}  // namespace platform
