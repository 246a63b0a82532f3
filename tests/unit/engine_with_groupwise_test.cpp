// The spine end to end: a minimal calendar plug-in on the engine base, reading from and
// writing to the simulated GroupWise through late-bound calls, driven as the host drives it.

#include <gtest/gtest.h>

#include "framework/base_isync.h"
#include "framework/data_types.h"
#include "framework/groupwise.h"
#include "framework/text_codec.h"
#include "framework/versit_date.h"
#include "sim/groupwise/simulated_groupwise.h"
#include "tests/support/bytes.h"
#include "tests/support/plugin_harness.h"

namespace framework {
namespace {

using platform::Object;
using testing_support::Crlf;

std::string Narrow(std::u16string_view ascii) {
  return std::string(ascii.begin(), ascii.end());
}

class MiniCalendarPlugin : public TBaseIsync {
 public:
  using TBaseIsync::TBaseIsync;

  int32_t Open(const Object& progress) override {
    TBaseIsync::Open(progress);
    groupwise::Session session(Services().Objects().CreateObject(groupwise::kSessionProgId));
    account_ = session.LoginDefault();
    return account_ ? 0 : 1;
  }

 protected:
  bool GetPIMAppointments(TEntryList& list) override {
    const Object messages =
        groupwise::Account(account_).Calendar().GetProperty("Messages").ToObject();
    for (int32_t i = 1, count = groupwise::Count(messages); i <= count; ++i) {
      const Object item = groupwise::ItemAt(messages, i);
      auto entry = std::make_unique<TEntry>();
      entry->Properties.Add("BEGIN", "", "VEVENT");
      entry->Properties.Add("UID", "", Narrow(item.GetProperty("MessageID").ToText()));
      const EncodedText subject = EncodeUtf8(groupwise::GetPlainText(item, "Subject"));
      entry->Properties.Add("SUMMARY", subject.escaped ? "QUOTED-PRINTABLE;CHARSET=UTF-8" : "",
                            subject.text);
      entry->Properties.Add("DTSTART", "",
                            DateTimeToVersit(item.GetProperty("StartDate").ToDate()));
      entry->Properties.Add("END", "", "VEVENT");
      list.Add(std::move(entry));
    }
    return true;
  }

  bool AddPIMAppointment(TEntry& entry) override {
    const Object messages =
        groupwise::Account(account_).Calendar().GetProperty("Messages").ToObject();
    const Object item = messages.Call("Add", {u"GW.MESSAGE.APPOINTMENT", int16_t{3}}).ToObject();
    groupwise::SetPlainText(
        item, "Subject",
        DecodeUtf8(entry.FindValue("SUMMARY").value_or(""), platform::Windows1252()));
    item.PutProperty("StartDate", VersitToDateTime(entry.FindValue("DTSTART").value_or(""),
                                                   Services().Env().Now()));
    entry.SetUID(Narrow(item.GetProperty("MessageID").ToText()));
    return true;
  }

 private:
  Object account_;
};

class EngineWithGroupWiseTest : public testing::Test {
 protected:
  void SetUp() override {
    groupwise.RegisterWith(host.platform.objects);
    sim::CalendarItem lunch;
    lunch.messageId = u"A.1";
    lunch.subject = u"Caf\u00E9 \u20AC";
    lunch.startDate = platform::EncodeAutomationDate({2000, 12, 31, 12, 30, 0, 0});
    groupwise.mailbox->calendar.push_back(lunch);
    ASSERT_EQ(plugin.Init(host.progressObject, &setupA, &setupC), 0);
  }

  testing_support::HostHarness host;
  sim::GroupWise groupwise;
  platform::MemoryStream setupA, setupC;
  MiniCalendarPlugin plugin{host.platform};
};

TEST_F(EngineWithGroupWiseTest, ReadsItemsAsRecordsWithTheirTextEscaped) {
  ASSERT_EQ(plugin.Open(Object()), 0);
  platform::MemoryStream stream;
  ASSERT_EQ(plugin.ReadSource(Object(), &stream, data_type::kApt, 0, u""), 0);
  EXPECT_EQ(testing_support::FirstDifference(
                stream.Bytes(), Crlf("BEGIN:VCALENDAR|VERSION:1.0|BEGIN:VEVENT|UID:A.1|"
                                     "SUMMARY;QUOTED-PRINTABLE;CHARSET=UTF-8:Caf=C3=A9 =E2=82=AC|"
                                     "DTSTART:20001231T123000|END:VEVENT|END:VCALENDAR")),
            "");
}

TEST_F(EngineWithGroupWiseTest, AnInsertedRecordComesBackWithItsGroupWiseIdentity) {
  ASSERT_EQ(plugin.Open(Object()), 0);
  platform::MemoryStream stream(
      Crlf("BEGIN:VCALENDAR|VERSION:1.0|BEGIN:VEVENT|"
           "SUMMARY;QUOTED-PRINTABLE;CHARSET=UTF-8:=E4=B8=AD=E6=96=87 =E2=82=AC|"
           "DTSTART:20010102T080000|END:VEVENT|END:VCALENDAR|"));
  ASSERT_EQ(plugin.WriteSource(Object(), &stream, data_type::kApt, 1, u""), 0);

  ASSERT_EQ(groupwise.mailbox->calendar.size(), 2u);
  const sim::CalendarItem& stored = groupwise.mailbox->calendar[1];
  EXPECT_TRUE(stored.subject == u"\u4E2D\u6587 \u20AC");
  EXPECT_DOUBLE_EQ(stored.startDate.days,
                   platform::EncodeAutomationDate({2001, 1, 2, 8, 0, 0, 0}).days);
  EXPECT_NE(stream.Bytes().find("BEGIN:VEVENT\r\nUID:" + Narrow(stored.messageId) + "\r\n"),
            std::string::npos)
      << stream.Bytes();
  EXPECT_EQ(groupwise.context->log.Count("Messages.Add"), 1);
}

TEST_F(EngineWithGroupWiseTest, AGroupWiseFailureFailsTheRequestAndChangesNothing) {
  ASSERT_EQ(plugin.Open(Object()), 0);
  groupwise.context->faults.RaiseOnCall("Messages.Count", 1, "The query failed");
  platform::MemoryStream stream("untouched");
  EXPECT_EQ(plugin.ReadSource(Object(), &stream, data_type::kApt, 0, u""), 1);
  EXPECT_EQ(stream.Bytes(), "untouched");
  // The fault was for that call only.
  EXPECT_EQ(plugin.ReadSource(Object(), &stream, data_type::kApt, 0, u""), 0);
}

TEST_F(EngineWithGroupWiseTest, ALoginWithoutAccountFailsOpen) {
  groupwise.mailbox->login = sim::LoginOutcome::kNoAccountNull;
  EXPECT_EQ(plugin.Open(Object()), 1);
  EXPECT_EQ(groupwise.context->log.calls, std::vector<std::string>{"Session.Login"});
}

}  // namespace
}  // namespace framework
