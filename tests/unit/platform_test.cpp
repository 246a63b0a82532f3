// The portable half of the platform seam: values, streams, the code page, object creation.

#include <gtest/gtest.h>

#include <functional>

#include "platform/automation.h"
#include "platform/byte_stream.h"
#include "platform/code_page.h"
#include "platform/portable/object_registry.h"
#include "sim/host/recording_progress.h"

namespace platform {
namespace {

TEST(Variant, CoercesTheWayTheAutomationRuntimeDoes) {
  EXPECT_EQ(Variant(int16_t{5}).ToInt32(), 5);
  EXPECT_EQ(Variant(2.5).ToInt32(), 2);  // banker's rounding
  EXPECT_EQ(Variant(3.5).ToInt32(), 4);
  EXPECT_EQ(Variant(u" 42 ").ToInt32(), 42);
  EXPECT_EQ(Variant(true).ToInt32(), -1);
  EXPECT_EQ(Variant().ToInt32(), 0);
  EXPECT_TRUE(Variant(int32_t{7}).ToText() == u"7");
  EXPECT_TRUE(Variant(false).ToText() == u"False");
  EXPECT_TRUE(Variant(u"TRUE").ToBool());
  EXPECT_TRUE(Variant(int32_t{-1}).ToBool());
  EXPECT_FALSE(Variant(u"0").ToBool());
  EXPECT_DOUBLE_EQ(Variant(AutomationDate{1.5}).ToDouble(), 1.5);
}

TEST(Variant, RefusesConversionsThatHaveNoValue) {
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"null to text", [] { (void)Variant::Null().ToText(); }},
      {"null to number", [] { (void)Variant::Null().ToInt32(); }},
      {"words to number", [] { (void)Variant(u"five").ToInt32(); }},
      {"object to text", [] { (void)Variant(Object()).ToText(); }},
      {"too large", [] { (void)Variant(1e12).ToInt32(); }},
      {"exact kind", [] { (void)Variant(int32_t{1}).AsText(); }},
  };
  for (const auto& [name, convert] : cases) {
    EXPECT_THROW(convert(), AutomationError) << name;
  }
}

TEST(Variant, TellsEmptyNullAndTheNullObjectApart) {
  EXPECT_TRUE(Variant().IsEmpty());
  EXPECT_FALSE(Variant::Null().IsEmpty());
  EXPECT_TRUE(Variant::Null().IsNull());
  EXPECT_TRUE(Variant(Object()).IsEmptyOrNull());
  EXPECT_FALSE(Variant(u"").IsEmptyOrNull());
  EXPECT_FALSE(Variant(Object(std::make_shared<sim::RecordingProgress>())).IsEmptyOrNull());
  EXPECT_FALSE(Variant() == Variant::Null());
}

TEST(Variant, AReferenceAnswersForItsTarget) {
  Variant slot(int16_t{1});
  Variant ref = Variant::Reference(slot);
  EXPECT_EQ(ref.GetKind(), Variant::Kind::kByRef);
  EXPECT_EQ(ref.ToInt32(), 1);
  ref.Target() = Variant(u"answer");
  EXPECT_TRUE(slot.AsText() == u"answer");
  EXPECT_TRUE(ref.AsText() == u"answer");
}

TEST(Object, CallsOnTheNullObjectRaise) {
  Object none;
  EXPECT_THROW(none.Call("Anything"), Exception);
  EXPECT_THROW(none.GetProperty("Anything"), Exception);
}

TEST(MemoryStream, BehavesLikeAnHGlobalStream) {
  MemoryStream stream("hello");
  char buffer[8] = {};
  EXPECT_EQ(stream.Seek(-2, ByteStream::Origin::kEnd), 3u);
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 2u);
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);  // at the end
  // Writing after a seek past the end fills the gap with zeros.
  stream.Seek(7, ByteStream::Origin::kBegin);
  WriteText(stream, "!");
  EXPECT_EQ(stream.Bytes(), std::string("hello\0\0!", 8));
  stream.SetSize(2);
  EXPECT_EQ(stream.Bytes(), "he");
  EXPECT_THROW(stream.Seek(-1, ByteStream::Origin::kBegin), StreamError);
  stream.Seek(0, ByteStream::Origin::kBegin);
  EXPECT_EQ(ReadUpTo(stream, 10), "he");
}

TEST(Windows1252, MapsTheHighRangeBothWays) {
  const Windows1252 ansi;
  EXPECT_TRUE(ansi.ToWide("\x80\xE9\x9F\x81") == u"\u20AC\u00E9\u0178\u0081");
  EXPECT_EQ(ansi.ToAnsi(u"\u20AC\u00E9\u0178"), "\x80\xE9\x9F");
  EXPECT_EQ(ansi.ToAnsi(u"\u4E2D"), "?");  // not in the code page
}

TEST(ObjectRegistry, CreatesByProgIdWithoutRegardToCase) {
  ObjectRegistry registry;
  int created = 0;
  registry.Register("NovellGroupWareSession", [&] {
    ++created;
    return Object(std::make_shared<sim::RecordingProgress>());
  });
  EXPECT_TRUE(registry.CreateObject("novellgroupwaresession"));
  EXPECT_EQ(created, 1);
  try {
    registry.CreateObject("GroupWiseCommander");
    FAIL() << "an unknown ProgID must raise";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.HResult(), hresult::kInvalidClassString);
    EXPECT_EQ(error.Member(), "GroupWiseCommander");
  }
}

}  // namespace
}  // namespace platform
