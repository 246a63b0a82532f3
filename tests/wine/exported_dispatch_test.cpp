// ExportedDispatch driven as COM code drives it: raw GetIDsOfNames and Invoke calls, checked
// against what the C++ object saw and what came back in the VARIANTs and the EXCEPINFO.

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/win32/ansi_code_page.h"
#include "platform/win32/exported_dispatch.h"
#include "platform/win32/variant_conversion.h"
#include "tests/wine/wine_test_support.h"

namespace platform::win32::test {
namespace {

struct Outcome {
  HRESULT hr;
  UniqueVariant result;
  SCODE scode = 0;
  std::string description;
  std::string source;
};

// The arguments as DISPPARAMS holds them: last first.
std::vector<UniqueVariant> Reversed(std::initializer_list<Variant> natural) {
  std::vector<UniqueVariant> reversed;
  for (auto it = std::rbegin(natural); it != std::rend(natural); ++it) {
    reversed.push_back(ToVariant(*it));
  }
  return reversed;
}

class ExportedDispatchTest : public ComTest {
 protected:
  DISPID IdOf(const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = com_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    EXPECT_EQ(hr, S_OK) << Hex(hr);
    return id;
  }

  Outcome Invoke(DISPID id, WORD flags, std::vector<UniqueVariant>& reversed, bool namedPut = false,
                 bool withExcepInfo = true) {
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), namedPut ? &putId : nullptr,
                      static_cast<UINT>(reversed.size()), namedPut ? 1u : 0u};
    Outcome out{};
    ExcepInfo info;
    out.hr = com_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &out.result,
                          withExcepInfo ? &info : nullptr, nullptr);
    out.scode = info.scode;
    out.description = WideToAnsi(BstrText(info.bstrDescription));
    out.source = WideToAnsi(BstrText(info.bstrSource));
    return out;
  }

  std::shared_ptr<ScriptedDispatch> cpp_ = std::make_shared<ScriptedDispatch>();
  ComPtr<IDispatch> com_ = ExportedDispatch::Create(cpp_);
};

TEST_F(ExportedDispatchTest, NamesGetStableIdsWithoutRegardToCase) {
  const DISPID alpha = IdOf(L"Alpha");
  const DISPID beta = IdOf(L"beta");
  EXPECT_GT(alpha, 0);
  EXPECT_GT(beta, 0);
  EXPECT_NE(alpha, beta);
  EXPECT_EQ(IdOf(L"ALPHA"), alpha);
  EXPECT_EQ(IdOf(L"alpha"), alpha);

  // Named parameters are not known: the member gets its id, the parameter DISPID_UNKNOWN.
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"Alpha"), const_cast<LPOLESTR>(L"Folder")};
  DISPID ids[2] = {0, 0};
  EXPECT_EQ(com_->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], alpha);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
}

TEST_F(ExportedDispatchTest, FlagsChooseTheKindAndArgumentsArriveInNaturalOrder) {
  cpp_->On("Member", [](std::span<const Variant>) { return Variant(u"answer"); });
  const DISPID id = IdOf(L"Member");
  const struct {
    const char* row;
    WORD flags;
    Dispatch::Invoke kind;
  } cases[] = {
      {"method", DISPATCH_METHOD, Dispatch::Invoke::kMethod},
      {"get", DISPATCH_PROPERTYGET, Dispatch::Invoke::kPropertyGet},
      {"get as controllers send it", DISPATCH_PROPERTYGET | DISPATCH_METHOD,
       Dispatch::Invoke::kPropertyGet},
      {"put", DISPATCH_PROPERTYPUT, Dispatch::Invoke::kPropertyPut},
      {"put by reference", DISPATCH_PROPERTYPUTREF, Dispatch::Invoke::kPropertyPut},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    const bool put = c.kind == Dispatch::Invoke::kPropertyPut;
    // For a put, rgvarg[0] is the named new value; it must arrive last.
    auto args = Reversed({Variant(int32_t{1}), Variant(int32_t{2}), Variant(u"last")});
    Outcome out = Invoke(id, c.flags, args, put);
    ASSERT_EQ(out.hr, S_OK) << Hex(out.hr) << " " << out.description;
    ASSERT_FALSE(cpp_->calls.empty());
    EXPECT_EQ(cpp_->calls.back().kind, c.kind);
    EXPECT_EQ(cpp_->calls.back().args,
              (std::vector<Variant>{Variant(int32_t{1}), Variant(int32_t{2}), Variant(u"last")}));
    EXPECT_EQ(FromVariant(out.result), put ? Variant() : Variant(u"answer"));
  }
}

TEST_F(ExportedDispatchTest, FailuresBecomeDispatchExceptionsWithTheirText) {
  const struct {
    const char* row;
    std::function<void()> raise;
    HRESULT hr;
    SCODE scode;
    std::string description;
    std::string source;
  } cases[] = {
      {"automation error",
       [] { throw AutomationError("Save", static_cast<int32_t>(0x80040201), "Disk full"); },
       DISP_E_EXCEPTION, static_cast<SCODE>(0x80040201), "Disk full", "Save"},
      {"automation error without a failure code", [] { throw AutomationError("Save", 0, "Odd"); },
       DISP_E_EXCEPTION, E_FAIL, "Odd", "Save"},
      {"plug-in exception", [] { throw Exception("No such folder"); }, DISP_E_EXCEPTION, E_FAIL,
       "No such folder", ""},
      {"standard exception", [] { throw std::runtime_error("boom"); }, DISP_E_EXCEPTION, E_FAIL,
       "boom", ""},
      {"anything else", [] { throw 42; }, E_UNEXPECTED, 0, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    cpp_->On("Fail", [&c](std::span<const Variant>) -> Variant {
      c.raise();
      return {};
    });
    std::vector<UniqueVariant> none;
    Outcome out = Invoke(IdOf(L"Fail"), DISPATCH_METHOD, none);
    EXPECT_EQ(out.hr, c.hr) << Hex(out.hr) << " wanted " << Hex(c.hr);
    EXPECT_EQ(out.scode, c.scode) << Hex(out.scode) << " wanted " << Hex(c.scode);
    EXPECT_EQ(out.description, c.description);
    EXPECT_EQ(out.source, c.source);
  }
  // Without an EXCEPINFO to fill the caller still learns the reason.
  cpp_->On("Fail", [](std::span<const Variant>) -> Variant {
    throw AutomationError("Save", static_cast<int32_t>(0x80040201), "Disk full");
  });
  std::vector<UniqueVariant> none;
  Outcome bare = Invoke(IdOf(L"Fail"), DISPATCH_METHOD, none, false, false);
  EXPECT_EQ(bare.hr, static_cast<HRESULT>(0x80040201)) << Hex(bare.hr);
}

TEST_F(ExportedDispatchTest, MalformedCallsNeverReachTheObject) {
  cpp_->On("Member", [](std::span<const Variant>) { return Variant(); });
  const DISPID id = IdOf(L"Member");
  auto one = Reversed({Variant(u"v")});
  EXPECT_EQ(Invoke(id + 100, DISPATCH_METHOD, one).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Invoke(id, DISPATCH_PROPERTYPUT, one, false).hr, DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(Invoke(id, DISPATCH_METHOD, one, true).hr, DISP_E_NONAMEDARGS);
  EXPECT_TRUE(cpp_->calls.empty());
}

TEST_F(ExportedDispatchTest, OutParametersAreStoredBackInTheCallersTypes) {
  // The caller's variables, each kept in a VARIANT of its type so that it is freed afterwards.
  UniqueVariant text = ToVariant(Variant(u"in"));
  UniqueVariant number = ToVariant(Variant(int16_t{5}));
  UniqueVariant anything;
  UniqueVariant untouched;
  V_UI4(&untouched) = 9;  // no portable kind is VT_UI4: storing it back would change its type
  V_VT(&untouched) = VT_UI4;
  std::vector<UniqueVariant> reversed(4);  // natural order: text, number, anything, untouched
  V_BSTRREF(&reversed[3]) = &V_BSTR(&text);
  V_VT(&reversed[3]) = VT_BYREF | VT_BSTR;
  V_I2REF(&reversed[2]) = &V_I2(&number);
  V_VT(&reversed[2]) = VT_BYREF | VT_I2;
  V_VARIANTREF(&reversed[1]) = &anything;
  V_VT(&reversed[1]) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&reversed[0]) = &untouched;
  V_VT(&reversed[0]) = VT_BYREF | VT_VARIANT;

  cpp_->On("Fill", [](std::span<const Variant> args) {
    args[0].Target() = Variant(args[0].ToText() + u"+out");
    args[1].Target() = Variant(int32_t{args[1].ToInt32() + 2});  // wider than the variable
    args[2].Target() = Variant(u"any");
    return Variant();
  });
  Outcome out = Invoke(IdOf(L"Fill"), DISPATCH_METHOD, reversed);
  ASSERT_EQ(out.hr, S_OK) << Hex(out.hr) << " " << out.description;
  EXPECT_EQ(FromVariant(text), Variant(u"in+out"));
  EXPECT_EQ(FromVariant(number), Variant(int16_t{7}));
  EXPECT_EQ(FromVariant(anything), Variant(u"any"));
  EXPECT_EQ(V_VT(&untouched), VT_UI4) << Hex(V_VT(&untouched));
  EXPECT_EQ(V_UI4(&untouched), 9u);
}

TEST_F(ExportedDispatchTest, TheObjectLivesExactlyAsLongAsItsReferences) {
  std::weak_ptr<ScriptedDispatch> watch = cpp_;
  cpp_.reset();
  ComPtr<IUnknown> unknown = com_.TryQuery<IUnknown>();
  EXPECT_TRUE(unknown);
  EXPECT_FALSE(com_.TryQuery<IStream>());
  com_.Reset();
  EXPECT_FALSE(watch.expired()) << "released while a reference remained";
  unknown.Reset();
  EXPECT_TRUE(watch.expired()) << "a reference leaked";
}

// The C++ object seen through COM and back: what the simulators look like to the plug-ins in
// the Windows build.
TEST_F(ExportedDispatchTest, RoundTripsThroughBothBridges) {
  cpp_->On("Decorate", [](std::span<const Variant> args) {
    // Appended, not u"<" + ...: gcc 12 at -O3 warns (-Wrestrict) about a literal put in front
    // of a string, falsely.
    std::u16string decorated(1, u'<');
    decorated.append(args[0].ToText()).push_back(u'>');
    args[0].Target() = Variant(std::move(decorated));
    return Variant(true);
  });
  cpp_->On("Fail", [](std::span<const Variant>) -> Variant {
    throw AutomationError("Save", static_cast<int32_t>(0x80040201), "Disk full");
  });
  Object object(std::make_shared<DispatchObject>(com_));
  Variant text(u"x");
  EXPECT_EQ(object.Call("decorate", {Variant::Reference(text)}), Variant(true));
  EXPECT_EQ(text, Variant(u"<x>"));
  try {
    object.Call("Fail");
    FAIL() << "no error raised";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Member(), "Fail");
    EXPECT_EQ(error.HResult(), static_cast<int32_t>(0x80040201)) << Hex(error.HResult());
    EXPECT_STREQ(error.what(), "Disk full");
  }
}

}  // namespace
}  // namespace platform::win32::test
