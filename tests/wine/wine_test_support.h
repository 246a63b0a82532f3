#pragma once

// Shared by the Win32 backend's tests: a COM apartment per test, a C++ automation object that
// records its calls, and readable printing of Variants and HRESULTs in failure messages.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation.h"
#include "platform/win32/dispatch_object.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"

namespace platform {

inline void PrintEscaped(std::u16string_view text, std::ostream* out) {
  *out << '"';
  for (char16_t unit : text) {
    char escaped[8];
    const bool plain = unit >= 0x20 && unit < 0x7F;
    std::snprintf(escaped, sizeof escaped, plain ? "%c" : "\\u%04X", static_cast<unsigned>(unit));
    *out << escaped;
  }
  *out << '"';
}

// Bytes the way failure messages show them: printable ASCII as is, the rest as \xNN.
inline std::string Escaped(std::string_view bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    char escaped[8];
    const bool plain = byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"';
    std::snprintf(escaped, sizeof escaped, plain ? "%c" : "\\x%02X", byte);
    out += escaped;
  }
  return out + '"';
}

inline void PrintTo(const Variant& value, std::ostream* out) {
  using Kind = Variant::Kind;
  const Variant& v = value.Deref();
  *out << KindName(value.GetKind());
  if (&v != &value) *out << " to " << KindName(v.GetKind());
  const Kind kind = v.GetKind();
  if (kind == Kind::kText) {
    *out << ' ';
    PrintEscaped(v.AsText(), out);
  } else if (kind == Kind::kTextArray) {
    for (const auto& text : v.AsTextArray())
      PrintEscaped(text, &(*out << ' '));
  } else if (kind == Kind::kObject) {
    *out << (v.AsObject() ? " (set)" : " (null)");
  } else if (kind >= Kind::kBool && kind <= Kind::kDate) {
    *out << ' ' << v.ToDouble();
  }
}

}  // namespace platform

namespace platform::win32::test {

class ComTest : public ::testing::Test {
 private:
  ComApartment apartment_;
};

// The HRESULT the way failure messages show it.
inline std::string Hex(HRESULT hr) {
  return HResultHex(hr);
}

// A C++ automation object for the reverse bridge. It records each call with its arguments read
// through references, and answers with the handler registered for the member; a member without
// one fails as an unknown member would.
class ScriptedDispatch final : public Dispatch {
 public:
  struct Call {
    std::string name;
    Invoke kind;
    std::vector<Variant> args;
  };
  using Handler = std::function<Variant(std::span<const Variant>)>;

  void On(std::string_view name, Handler handler) {
    handlers_[FoldMemberName(name)] = std::move(handler);
  }

  Variant InvokeMember(std::string_view name, Invoke kind, std::span<const Variant> args) override {
    Call call{std::string(name), kind, {}};
    for (const Variant& arg : args)
      call.args.push_back(arg.Deref());
    calls.push_back(std::move(call));
    auto found = handlers_.find(FoldMemberName(name));
    if (found == handlers_.end()) {
      throw AutomationError(std::string(name), hresult::kMemberNotFound, "Member not found");
    }
    return found->second(args);
  }

  std::vector<Call> calls;

 private:
  std::map<std::string, Handler> handlers_;
};

}  // namespace platform::win32::test
