// Automation dates and the Versit date texts.

#include <gtest/gtest.h>

#include "framework/versit_date.h"
#include "platform/automation_date.h"
#include "platform/exception.h"

namespace framework {
namespace {

using platform::AutomationDate;
using platform::CivilDateTime;
using platform::DecodeAutomationDate;
using platform::EncodeAutomationDate;

const AutomationDate kNow = EncodeAutomationDate({2026, 12, 8, 17, 25, 11, 0});
const AutomationDate kToday = EncodeAutomationDate({2026, 12, 8, 0, 0, 0, 0});

TEST(AutomationDate, MatchesTheRuntimeAtKnownPoints) {
  struct Case {
    CivilDateTime civil;
    double days;
  };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
      {{1900, 1, 1, 0, 0, 0, 0}, 2.0},
      {{2000, 3, 5, 18, 0, 0, 0}, 36590.75},
      // Before the epoch the whole part counts back while the fraction counts forward.
      {{1899, 12, 29, 6, 0, 0, 0}, -1.25},
      {{9999, 12, 31, 0, 0, 0, 0}, 2958465.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(EncodeAutomationDate(c.civil).days, c.days) << c.days;
    EXPECT_EQ(DecodeAutomationDate(AutomationDate{c.days}), c.civil) << c.days;
  }
}

TEST(AutomationDate, RoundsToTheMillisecondCarryingIntoTheNextDay) {
  const CivilDateTime c = DecodeAutomationDate(AutomationDate{36590.0 - 1e-9});
  EXPECT_EQ(c, (CivilDateTime{2000, 3, 5, 0, 0, 0, 0}));
}

TEST(AutomationDate, RefusesImpossibleFields) {
  const CivilDateTime bad[] = {{2001, 2, 29, 0, 0, 0, 0},
                               {2000, 13, 1, 0, 0, 0, 0},
                               {2000, 4, 31, 0, 0, 0, 0},
                               {0, 1, 1, 0, 0, 0, 0},
                               {2000, 1, 1, 24, 0, 0, 0}};
  for (const CivilDateTime& c : bad)
    EXPECT_THROW(EncodeAutomationDate(c), platform::Exception);
}

TEST(AutomationDate, IsoTextsCoverEveryValueWithoutRaising) {
  const AutomationDate early = EncodeAutomationDate({999, 1, 2, 3, 4, 5, 0});
  EXPECT_EQ(platform::IsoDateText(early), "0999-01-02");
  EXPECT_EQ(platform::IsoDateTimeText(early), "0999-01-02 03:04:05");
  EXPECT_EQ(platform::IsoDateTimeText(AutomationDate{1e300}), "(no date: 1e+300)");
}

TEST(VersitDates, WritesYearMonthDayTHourMinuteSecond) {
  const AutomationDate date = EncodeAutomationDate({2000, 3, 5, 7, 8, 9, 0});
  EXPECT_EQ(DateTimeToVersit(date), "20000305T070809");
  EXPECT_EQ(DateToVersit(date), "20000305T000000");
  // Readers cut the text at fixed places: a short year would shift every field.
  const AutomationDate early = EncodeAutomationDate({999, 1, 1, 10, 0, 0, 0});
  EXPECT_EQ(DateTimeToVersit(early), "09990101T100000");
  EXPECT_DOUBLE_EQ(VersitToDateTime(DateTimeToVersit(early), kNow).days, early.days);
  EXPECT_EQ(DateToVersit(EncodeAutomationDate({7, 2, 3, 0, 0, 0, 0})), "00070203T000000");
  // Years without a four-digit form are refused rather than written misaligned.
  EXPECT_THROW(DateTimeToVersit(AutomationDate{2958465.0 + 366}), platform::Exception);
  EXPECT_THROW(DateTimeToVersit(AutomationDate{-700000.0}), platform::Exception);
}

TEST(VersitDates, ReadsTheTextOrFallsBackToToday) {
  struct Case {
    const char* text;
    AutomationDate wanted;
  };
  const Case cases[] = {
      {"20001231T235959Z", EncodeAutomationDate({2000, 12, 31, 23, 59, 59, 0})},
      {"  20010301T000000 ", EncodeAutomationDate({2001, 3, 1, 0, 0, 0, 0})},
      {"20001231X235959", EncodeAutomationDate({2000, 12, 31, 23, 59, 59, 0})},  // 9th not read
      {"", kToday},
      {"20011301T000000", kToday},  // month 13
      {"20010229T000000", kToday},  // no 29 February in 2001
      {"2001-03-01", kToday},       // not the Versit form
      {"20010301T2500", kToday},    // cut short
      {"20010301T250000", kToday},  // hour 25
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(VersitToDateTime(c.text, kNow).days, c.wanted.days) << c.text;
  }
  EXPECT_DOUBLE_EQ(VersitToDate("20001231T235959", kNow).days,
                   EncodeAutomationDate({2000, 12, 31, 0, 0, 0, 0}).days);
}

}  // namespace
}  // namespace framework
