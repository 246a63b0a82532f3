// Variant <-> VARIANT in both directions: the VARTYPE each portable kind travels as (seen by a
// real callee), the VARIANT types callers and servers send that the portable side has no exact
// kind for, and object identity across the bridge.

#include <gtest/gtest.h>

#include <functional>

#include "platform/win32/variant_conversion.h"
#include "tests/wine/fake_automation_object.h"
#include "tests/wine/wine_test_support.h"

namespace platform::win32::test {
namespace {

using namespace std::string_literals;

class VariantConversionTest : public ComTest {
 protected:
  ComPtr<FakeAutomationObject> fake_ = FakeAutomationObject::Create(u"echo");
  Object echo_{std::make_shared<DispatchObject>(ComPtr<IDispatch>(fake_))};
};

TEST_F(VariantConversionTest, EachKindTravelsAsItsVarTypeAndComesBackUnchanged) {
  Variant emptyTarget;
  Variant textTarget(u"in");
  const struct {
    const char* row;
    Variant sent;
    VARTYPE wire;
    Variant back;
  } cases[] = {
      {"empty", Variant(), VT_EMPTY, Variant()},
      {"null stays distinct from empty", Variant::Null(), VT_NULL, Variant::Null()},
      {"true", Variant(true), VT_BOOL, Variant(true)},
      {"false", Variant(false), VT_BOOL, Variant(false)},
      {"16-bit", Variant(int16_t{-7}), VT_I2, Variant(int16_t{-7})},
      {"32-bit", Variant(int32_t{-70000}), VT_I4, Variant(int32_t{-70000})},
      {"double", Variant(2.5), VT_R8, Variant(2.5)},
      {"date", Variant(AutomationDate{-1.25}), VT_DATE, Variant(AutomationDate{-1.25})},
      {"text with NUL and non-ASCII", Variant(u"a\0\u00e9\u20ac"s), VT_BSTR,
       Variant(u"a\0\u00e9\u20ac"s)},
      {"empty text", Variant(u""), VT_BSTR, Variant(u"")},
      {"text array", Variant(std::vector<std::u16string>{u"a", u"", u"c\0d"s}), VT_ARRAY | VT_BSTR,
       Variant(std::vector<std::u16string>{u"a", u"", u"c\0d"s})},
      {"empty text array", Variant(std::vector<std::u16string>{}), VT_ARRAY | VT_BSTR,
       Variant(std::vector<std::u16string>{})},
      {"null object", Variant(Object()), VT_DISPATCH, Variant(Object())},
      {"reference to empty", Variant::Reference(emptyTarget), VT_BYREF | VT_VARIANT, Variant()},
      {"reference to text", Variant::Reference(textTarget), VT_BYREF | VT_BSTR, Variant(u"in")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    Variant back = echo_.Call("Echo", {c.sent});
    EXPECT_EQ(fake_->LastEchoType(), c.wire) << "vt=" << Hex(fake_->LastEchoType());
    EXPECT_EQ(back, c.back);
  }
}

UniqueVariant Make(VARTYPE type, const std::function<void(VARIANT&)>& fill) {
  UniqueVariant value;
  fill(value);
  V_VT(&value) = type;
  return value;
}

TEST(VariantFromVariant, WidensTypesThePortableSideLacks) {
  LONG referencedLong = 123456;
  UniqueBstr referencedText = UniqueBstr::FromText(u"by ref");
  BSTR referencedBstr = referencedText.Get();
  const struct {
    const char* row;
    UniqueVariant raw;
    Variant expected;
  } cases[] = {
      {"VT_I1", Make(VT_I1, [](VARIANT& v) { V_I1(&v) = -5; }), Variant(int16_t{-5})},
      {"VT_UI1", Make(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 200; }), Variant(int16_t{200})},
      {"VT_UI2", Make(VT_UI2, [](VARIANT& v) { V_UI2(&v) = 65535; }), Variant(int32_t{65535})},
      {"small VT_UI4", Make(VT_UI4, [](VARIANT& v) { V_UI4(&v) = 7; }), Variant(int32_t{7})},
      {"VT_UI4 beyond 32-bit", Make(VT_UI4, [](VARIANT& v) { V_UI4(&v) = 4000000000u; }),
       Variant(4000000000.0)},
      {"VT_INT", Make(VT_INT, [](VARIANT& v) { V_INT(&v) = -3; }), Variant(int32_t{-3})},
      {"VT_UINT", Make(VT_UINT, [](VARIANT& v) { V_UINT(&v) = 9; }), Variant(int32_t{9})},
      {"VT_R4", Make(VT_R4, [](VARIANT& v) { V_R4(&v) = 1.5f; }), Variant(1.5)},
      {"VT_CY", Make(VT_CY, [](VARIANT& v) { V_CY(&v).int64 = 12345; }), Variant(1.2345)},
      {"VT_ERROR", Make(VT_ERROR, [](VARIANT& v) { V_ERROR(&v) = DISP_E_PARAMNOTFOUND; }),
       Variant(static_cast<int32_t>(DISP_E_PARAMNOTFOUND))},
      {"VT_BOOL other than -1", Make(VT_BOOL, [](VARIANT& v) { V_BOOL(&v) = 1; }), Variant(true)},
      {"null BSTR", Make(VT_BSTR, [](VARIANT& v) { V_BSTR(&v) = nullptr; }), Variant(u"")},
      {"VT_BYREF|VT_I4", Make(VT_BYREF | VT_I4, [&](VARIANT& v) { V_I4REF(&v) = &referencedLong; }),
       Variant(int32_t{123456})},
      {"VT_BYREF|VT_BSTR",
       Make(VT_BYREF | VT_BSTR, [&](VARIANT& v) { V_BSTRREF(&v) = &referencedBstr; }),
       Variant(u"by ref")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    try {
      EXPECT_EQ(FromVariant(c.raw), c.expected);
    } catch (const AutomationError& error) {
      ADD_FAILURE() << error.what() << " hr=" << Hex(error.HResult());
    }
  }
}

TEST(VariantFromVariant, ScriptArraysOfTextBecomeTextArrays) {
  UniqueSafeArray array(SafeArrayCreateVector(VT_VARIANT, 0, 2));
  ASSERT_TRUE(array.Get());
  {
    SafeArrayData<VARIANT> data(array.Get());
    ASSERT_EQ(data.Elements().size(), 2u);
    UniqueVariant first = ToVariant(Variant(u"first"));
    UniqueVariant second = ToVariant(Variant(u"second"));
    first.MoveTo(data.Elements()[0]);
    second.MoveTo(data.Elements()[1]);
  }
  UniqueVariant raw;
  V_ARRAY(&raw) = array.Detach();
  V_VT(&raw) = VT_ARRAY | VT_VARIANT;
  EXPECT_EQ(FromVariant(raw), Variant(std::vector<std::u16string>{u"first", u"second"}));
}

TEST(VariantFromVariant, RefusesWhatItCannotRepresent) {
  UniqueSafeArray numbers(SafeArrayCreateVector(VT_I4, 0, 1));
  UniqueVariant numberArray;
  V_ARRAY(&numberArray) = numbers.Detach();
  V_VT(&numberArray) = VT_ARRAY | VT_I4;
  UniqueVariant record;
  V_VT(&record) = VT_RECORD;
  for (const VARIANT* raw :
       {static_cast<const VARIANT*>(&numberArray), static_cast<const VARIANT*>(&record)}) {
    SCOPED_TRACE(Hex(V_VT(raw)));
    try {
      FromVariant(*raw);
      ADD_FAILURE() << "converted";
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.HResult(), DISP_E_TYPEMISMATCH) << Hex(error.HResult());
    }
  }
}

TEST_F(VariantConversionTest, ObjectsKeepTheirIdentityAcrossTheBridge) {
  // A C++ object goes out as a new IDispatch and comes back as the very same object.
  auto cpp = std::make_shared<ScriptedDispatch>();
  UniqueVariant exported = ToVariant(Variant(Object(cpp)));
  ASSERT_EQ(V_VT(&exported), VT_DISPATCH);
  ASSERT_NE(V_DISPATCH(&exported), nullptr);
  EXPECT_EQ(FromVariant(exported).AsObject().Get(), cpp.get());
  EXPECT_EQ(echo_.Call("Echo", {Variant(Object(cpp))}).AsObject().Get(), cpp.get());

  // A COM object goes in wrapped, and goes out again as its own interface, not a wrapper.
  UniqueVariant fake = ToVariant(Variant(echo_));
  EXPECT_EQ(V_DISPATCH(&fake), static_cast<IDispatch*>(fake_.Get()));

  // An IUnknown that is not an IDispatch travels as the same interface both ways.
  ComPtr<IUnknown> unknown = fake_.TryQuery<IUnknown>();
  UniqueVariant raw;
  V_UNKNOWN(&raw) = ComPtr<IUnknown>(unknown).Detach();
  V_VT(&raw) = VT_UNKNOWN;
  Variant held = FromVariant(raw);
  ASSERT_EQ(held.GetKind(), Variant::Kind::kUnknown);
  UniqueVariant back = ToVariant(held);
  EXPECT_EQ(V_VT(&back), VT_UNKNOWN);
  EXPECT_EQ(V_UNKNOWN(&back), unknown.Get());
}

TEST(VariantToVariant, RefusesPortableHandlesWithoutAnInterface) {
  struct Opaque : Unknown {};
  try {
    ToVariant(Variant(std::shared_ptr<Unknown>(std::make_shared<Opaque>())));
    FAIL() << "converted";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.HResult(), DISP_E_TYPEMISMATCH) << Hex(error.HResult());
  }
}

}  // namespace
}  // namespace platform::win32::test
