// DispatchObject against a hand-written IDispatch: the flags, argument order, out parameters,
// DISPID cache, error texts and reference counts that only a real COM object can show.

#include <gtest/gtest.h>

#include "platform/win32/dispatch_object.h"
#include "tests/wine/fake_automation_object.h"
#include "tests/wine/wine_test_support.h"

namespace platform::win32::test {
namespace {

using namespace std::string_literals;

class DispatchObjectTest : public ComTest {
 protected:
  Object Wrap() const { return Object(std::make_shared<DispatchObject>(ComPtr<IDispatch>(fake_))); }

  ComPtr<FakeAutomationObject> fake_ = FakeAutomationObject::Create(u"initial");
  Object object_ = Wrap();
};

// Gets go out as PROPERTYGET | METHOD; the fake refuses a property read without PROPERTYGET and
// a method call without METHOD, so one wrong flag fails a row here.
TEST_F(DispatchObjectTest, GetsReadPropertiesAndParameterlessMethods) {
  const struct {
    const char* row;
    const char* member;
    std::vector<Variant> args;
    Variant expected;
  } cases[] = {
      {"text property", "Text", {}, Variant(u"initial")},
      {"indexed property", "Item", {Variant(int32_t{2})}, Variant(u"two")},
      {"date property", "When", {}, Variant(AutomationDate{36526.5})},
      {"method giving VT_NULL", "ReturnNull", {}, Variant::Null()},
      {"method giving VT_EMPTY", "ReturnEmpty", {}, Variant()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    try {
      Variant got = object_.Get()->InvokeMember(c.member, Dispatch::Invoke::kPropertyGet, c.args);
      EXPECT_EQ(got, c.expected);
    } catch (const AutomationError& error) {
      ADD_FAILURE() << error.what() << " hr=" << Hex(error.HResult());
    }
  }
}

TEST_F(DispatchObjectTest, PutsArriveAsNamedPropertyPutWithIndexFirst) {
  try {
    object_.PutProperty("Text", Variant(u"new"));
    object_.Get()->InvokeMember("Item", Dispatch::Invoke::kPropertyPut,
                                std::vector<Variant>{Variant(int32_t{1}), Variant(u"uno")});
    object_.PutProperty("When", Variant(AutomationDate{45000.25}));
  } catch (const AutomationError& error) {
    FAIL() << error.Member() << ": " << error.what() << " hr=" << Hex(error.HResult());
  }
  EXPECT_EQ(fake_->Text(), u"new");
  EXPECT_EQ(fake_->Item(1), u"uno");
  EXPECT_EQ(fake_->Item(0), u"zero");
  EXPECT_EQ(fake_->When(), 45000.25);
}

TEST_F(DispatchObjectTest, OutParametersCarryTheCurrentValueInAndTheAnswerBack) {
  Variant text(u"a\0b"s);
  Variant counter(int16_t{41});
  Variant old;
  try {
    object_.Call("Decorate", {Variant::Reference(text)});
    old = object_.Call("Increment", {Variant::Reference(counter)});
  } catch (const AutomationError& error) {
    FAIL() << error.Member() << ": " << error.what() << " hr=" << Hex(error.HResult());
  }
  EXPECT_EQ(text, Variant(u"[a\0b]"s));
  EXPECT_EQ(counter, Variant(int16_t{42}));
  EXPECT_EQ(old, Variant(int16_t{41}));
}

TEST_F(DispatchObjectTest, FailuresCarryMemberHResultAndText) {
  const struct {
    const char* row;
    const char* member;
    Dispatch::Invoke kind;
    HRESULT hr;
    bool fromCallee;   // the callee's description, else the system's text for the HRESULT
    std::string text;  // all of the callee's description; a part of the system's text
  } cases[] = {
      {"EXCEPINFO description", "FailDescribed", Dispatch::Invoke::kMethod,
       FakeAutomationObject::kLockedError, true, "The item is locked by another user"},
      {"deferred fill-in", "FailDeferred", Dispatch::Invoke::kMethod,
       FakeAutomationObject::kLockedError, true, "The item is locked by another user"},
      {"plain HRESULT", "FailPlain", Dispatch::Invoke::kMethod, E_ACCESSDENIED, false, "denied"},
      // Windows has texts for these; Wine has none, and the number stands in.
      {"unknown name", "NoSuchMember", Dispatch::Invoke::kMethod, DISP_E_UNKNOWNNAME, false, ""},
      {"put to a method", "Child", Dispatch::Invoke::kPropertyPut, DISP_E_MEMBERNOTFOUND, false,
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    const Variant args[] = {Variant(u"x")};
    const std::size_t count = c.kind == Dispatch::Invoke::kPropertyPut ? 1 : 0;
    try {
      object_.Get()->InvokeMember(c.member, c.kind, std::span<const Variant>(args, count));
      ADD_FAILURE() << "no error raised";
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.Member(), c.member);
      EXPECT_EQ(error.HResult(), c.hr) << Hex(error.HResult()) << " wanted " << Hex(c.hr);
      std::string text = error.what();
      if (c.fromCallee) {
        EXPECT_EQ(text, c.text);
      } else {
        EXPECT_NE(text.find(c.text), std::string::npos) << text;
        EXPECT_NE(text.find_first_not_of(' '), std::string::npos) << "blank text";
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << "line break left in: " << text;
      }
    }
  }
}

TEST_F(DispatchObjectTest, LooksUpEachNameOncePerObjectInAnyCase) {
  object_.GetProperty("Text");
  object_.GetProperty("TEXT");
  object_.PutProperty("text", Variant(u"x"));
  EXPECT_EQ(fake_->NameLookups(), 1);
  object_.GetProperty("Item", {Variant(int32_t{0})});
  EXPECT_EQ(fake_->NameLookups(), 2);
  // The cache belongs to the object handle, not to the name: another handle asks again.
  Wrap().GetProperty("Text");
  EXPECT_EQ(fake_->NameLookups(), 3);
}

TEST_F(DispatchObjectTest, ReturnedObjectsAreUsableAndEveryReferenceIsReturned) {
  {
    Object child = object_.Call("Child").ToObject();
    ASSERT_TRUE(child);
    EXPECT_EQ(child.GetProperty("Text"), Variant(u"child"));
    Variant text(u"t");
    object_.Call("Decorate", {Variant::Reference(text)});
    object_.Call("Echo", {Variant(object_)});
    object_ = Object();
  }
  EXPECT_EQ(fake_->References(), 1u) << "a reference leaked";
}

}  // namespace
}  // namespace platform::win32::test
