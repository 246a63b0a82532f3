// New calendar and e-mail profiles as their setup components write them, and the host's ranges.

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "framework/setup_blocks.h"
#include "framework/text_codec.h"
#include "platform/exception.h"
#include "sim/host/profile.h"
#include "tests/support/block_values.h"

namespace sim {
namespace {

using framework::BlockKind;
using framework::SetupBlock;

using Expected = testing_support::BlockValue;
using testing_support::AtOffset;

// What every setup component writes into block A on every load, whatever its kind.
void AddFixedValues(std::vector<Expected>& rows) {
  constexpr BlockKind A = BlockKind::kA;
  rows.insert(rows.end(), {
                              {A, "Version", 0, uint32_t{0x00010000}},
                              {A, "LogLevel", 0, int16_t{3}},
                              {A, "@3664", 0, int16_t{20}},
                              {A, "@3674", 0, int16_t{2}},
                              {A, "@3692", 0, int16_t{1}},
                              {A, "WorkDayStart", 0, u"19731216T090000"},
                              {A, "WorkDayEnd", 0, u"19731216T170000"},
                          });
  for (int t : {0, 1, 2, 3, 4, 6, 7}) {
    rows.push_back({A, AtOffset(6416 + 2 * t), 0, int16_t{720}});
    rows.push_back({A, AtOffset(6448 + 2 * t), 0, int16_t{720}});
  }
  for (int t = 0; t < 7; ++t)
    rows.push_back({A, AtOffset(6796 + 2 * t), 0, int16_t{1}});
}

std::vector<Expected> CalendarDefaults() {
  constexpr BlockKind A = BlockKind::kA, B = BlockKind::kBPim;
  std::vector<Expected> rows = {
      {A, "Title", 0, u"Didodudo Z380 - Synchronization (Calendar)"},
      {A, "DeviceApp", 0, u"PROTEA"},
      {A, "PCApp", 0, u"PIMSYNC"},
      {A, "TypeEnabled", 0, int16_t{1}},
      {A, "TypeEnabled", 1, int16_t{1}},
      {A, "TypeEnabled", 3, int16_t{1}},
      {A, "LogPath", 0, u"C:\\PROFILES\\CAL.LOG"},
      {A, "ConflictRule", 0, int16_t{1}},
      {A, "@3666", 0, int16_t{1}},
      {A, "CalPastCount", 0, int16_t{1}},
      {A, "CalPastUnit", 0, int16_t{30}},
      {A, "CalFutureCount", 0, int16_t{6}},
      {A, "CalFutureUnit", 0, int16_t{30}},
      {A, "DeleteOldTypes", 0, int16_t{15}},
      {A, "@7806", 0, int16_t{1}},
      {B, "DeviceFile", 0, u"C:\\Documents\\Agenda"},
      {B, "WorkPath", 0, u"C:\\PROFILES\\CAL.WKF"},
      {B, "@1024", 0, u"To-do list"},
      {B, "@17034", 0, int16_t{1}},
  };
  for (int t = 0; t < 4; ++t) {
    rows.push_back({A, "DeviceCodePage", t, uint32_t{65001}});
    rows.push_back({A, "PCCodePage", t, uint32_t{65001}});
    rows.push_back({A, "DeleteOldCount", t, int16_t{1}});
    rows.push_back({A, "DeleteOldUnit", t, int16_t{30}});
  }
  AddFixedValues(rows);
  const std::pair<int, std::u16string> labels[] = {
      {0, u"LastName:"},     {1, u"FirstName:"},    {2, u"MidName:"},  {3, u"Company:"},
      {5, u"JobTitle:"},     {6, u"WorkAddr:"},     {7, u"WorkCity:"}, {8, u"WorkCounty:"},
      {9, u"WorkPostcode:"}, {10, u"WorkCountry:"}, {16, u"WorkTel:"}, {17, u"WorkFax:"},
      {18, u"HomeTel:"},     {19, u"Mobile:"},      {20, u"Email:"}};
  for (const auto& [slot, label] : labels)
    rows.push_back({B, "@2644", slot, label});
  return rows;
}

std::vector<Expected> EmailDefaults() {
  constexpr BlockKind A = BlockKind::kA, B = BlockKind::kBMail;
  std::vector<Expected> rows = {
      {A, "Title", 0, u"Didodudo Z380 - Synchronization (E-mail)"},
      {A, "DeviceApp", 0, u"EPOCMAIL"},
      {A, "PCApp", 0, u"MAILSYNC"},
      {A, "TypeEnabled", 6, int16_t{1}},
      {A, "LogPath", 0, u"C:\\PROFILES\\MAIL.LOG"},
      {A, "ConflictRule", 0, int16_t{1}},
      {A, "DeviceCodePage", 6, uint32_t{65001}},
      {A, "PCCodePage", 6, uint32_t{65001}},
      {A, "MailRangeCount", 0, int16_t{3}},
      {A, "MailRangeUnit", 0, int16_t{1}},
      {A, "MailFolders", 0, uint32_t{10}},
      {A, "MailNoAttachments", 0, int16_t{1}},
      {A, "@7024", 0, int32_t{-1}},
      {A, "@7028", 0, int32_t{-1}},
      {A, "MemoLimit", 0, uint32_t{10240}},
      {A, "DeleteOldTypes", 0, int16_t{64}},
      {A, "DeleteOldCount", 6, int16_t{3}},
      {A, "DeleteOldUnit", 6, int16_t{1}},
      {B, "DeviceAccount", 0, u"DESK-7 (PC mail)"},
  };
  AddFixedValues(rows);
  return rows;
}

// Every value of the table, and zeros in every byte the table does not name: the fields
// written as 0 (TypeEnabled of the other kinds, 3658, 3666, DeleteRule ...), block C and every
// byte that belongs to the host.
void ExpectValuesAndZerosElsewhere(const Profile& profile, const std::vector<Expected>& table) {
  const Profile zeros(profile.Kind());
  testing_support::ExpectValuesAndNothingElse({&profile.a, &profile.b, &profile.c},
                                              {&zeros.a, &zeros.b, &zeros.c}, table);
}

TEST(NewCalendarProfile, HoldsTheCalendarValuesAndZerosEverywhereElse) {
  const Profile profile = NewCalendarProfile("c:\\profiles\\cal.bin");
  EXPECT_EQ(profile.Kind(), ProfileKind::kCalendar);
  ExpectValuesAndZerosElsewhere(profile, CalendarDefaults());
}

TEST(NewEmailProfile, HoldsTheEmailValuesAndZerosEverywhereElse) {
  const Profile profile = NewEmailProfile("c:\\profiles\\mail.bin", kDefaultLogLevel, u"DESK-7");
  EXPECT_EQ(profile.Kind(), ProfileKind::kEmail);
  EXPECT_EQ(profile.b.Size(), 136u);
  EXPECT_EQ(profile.c.Size(), 2054u);
  ExpectValuesAndZerosElsewhere(profile, EmailDefaults());
}

// The device's account is named after the computer, "Work" when it has no name, and the name
// with its suffix is cut to the field.
TEST(NewEmailProfile, NamesTheDevicesAccountAfterTheComputer) {
  const struct {
    std::u16string computer;
    std::u16string account;
  } rows[] = {
      {u"DESK-7", u"DESK-7 (PC mail)"},
      {u"", u"Work (PC mail)"},
      {std::u16string(60, u'x'), std::u16string(60, u'x') + u" (P"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(framework::Utf16ToUtf8(row.computer));
    const Profile profile = NewEmailProfile("", 7, row.computer);
    EXPECT_EQ(profile.b.Get(framework::block_b_mail::DeviceAccount), row.account);
    EXPECT_EQ(profile.a.Get(framework::block_a::LogPath), u"");
    EXPECT_EQ(profile.a.Get(framework::block_a::LogLevel), 7);
  }
}

TEST(NewCalendarProfile, WithoutAControlFileTheLogAndWorkPathsStayEmpty) {
  const Profile profile = NewCalendarProfile("", 7);
  EXPECT_EQ(profile.a.Get(framework::block_a::LogPath), u"");
  EXPECT_EQ(profile.b.Get(framework::block_b_pim::WorkPath), u"");
  EXPECT_EQ(profile.a.Get(framework::block_a::LogLevel), 7);
}

// A path longer than the field is cut at 255 characters and never reaches the next field.
TEST(NewCalendarProfile, CutsALongControlFilePathToItsField) {
  const std::string path = "c:\\" + std::string(300, 'p') + ".bin";
  const Profile profile = NewCalendarProfile(path);
  const std::u16string logPath = profile.a.Get(framework::block_a::LogPath);
  EXPECT_EQ(logPath.size(), 255u);
  EXPECT_EQ(logPath.substr(0, 4), u"C:\\P");
  EXPECT_EQ(profile.a.Get(framework::I16Field{BlockKind::kA, 3658}), 0);
  EXPECT_EQ(profile.b.Get(framework::block_b_pim::WorkPath).size(), 255u);
  EXPECT_EQ(profile.b.Get(framework::TextField{BlockKind::kBPim, 1024, 256}), u"To-do list");
}

TEST(DerivedPath, UpperCasesThePathAndReplacesEveryBinExtension) {
  const struct {
    const char* name;
    std::string path;
    std::u16string wanted;
  } rows[] = {
      {"plain", "c:\\profiles\\mail.bin", u"C:\\PROFILES\\MAIL.LOG"},
      {"mixed case", "C:\\Sync\\Cal.Bin", u"C:\\SYNC\\CAL.LOG"},
      {"every occurrence", "c:\\x.bin\\y.bin", u"C:\\X.LOG\\Y.LOG"},
      {"no extension", "c:\\profiles\\mail", u"C:\\PROFILES\\MAIL"},
      {"BIN without its dot", "c:\\bin\\binder.dat", u"C:\\BIN\\BINDER.DAT"},
      {"empty", "", u""},
      {"non-ASCII kept as it is", "c:\\caf\xc3\xa9.bin", u"C:\\CAF\u00e9.LOG"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(framework::Utf16ToUtf8(DerivedPath(row.path, u".LOG")),
              framework::Utf16ToUtf8(row.wanted));
  }
}

platform::AutomationDate Day(int year, int month, int day, int hour = 0, int minute = 0) {
  return platform::EncodeAutomationDate({year, month, day, hour, minute, 0, 0});
}

TEST(HostCalendarRange, CountsWholeDaysBackAndAheadOfToday) {
  const struct {
    const char* name;
    int16_t pastCount, pastUnit, futureCount, futureUnit;
    platform::AutomationDate today, first, last;
  } rows[] = {
      {"defaults", 1, 30, 6, 30, Day(2001, 2, 15), Day(2001, 1, 16), Day(2001, 8, 14)},
      {"time of day ignored", 1, 30, 6, 30, Day(2001, 2, 15, 23, 59), Day(2001, 1, 16),
       Day(2001, 8, 14)},
      {"a week back, a year over a leap day", 1, 7, 1, 365, Day(2000, 2, 28), Day(2000, 2, 21),
       Day(2001, 2, 27)},
      {"nothing but today", 0, 30, 0, 1, Day(2001, 2, 15), Day(2001, 2, 15), Day(2001, 2, 15)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetupBlock a(BlockKind::kA);
    a.Set(framework::block_a::CalPastCount, row.pastCount);
    a.Set(framework::block_a::CalPastUnit, row.pastUnit);
    a.Set(framework::block_a::CalFutureCount, row.futureCount);
    a.Set(framework::block_a::CalFutureUnit, row.futureUnit);
    const CalendarRange range = HostCalendarRange(a, row.today);
    EXPECT_EQ(range.first.days, row.first.days);
    EXPECT_EQ(range.last.days, row.last.days);
  }
}

// The plug-in synchronizes up to the day before CalRangeEnd, so the stored end is the day
// after the last one, across month and year ends.
TEST(FillCalendarRange, StoresTheFirstDayAndTheDayAfterTheLast) {
  const struct {
    platform::AutomationDate first, last;
    std::u16string start, end;
  } rows[] = {
      {Day(2001, 2, 1), Day(2001, 2, 28), u"20010201T000000", u"20010301T000000"},
      {Day(2000, 2, 1), Day(2000, 2, 28, 18), u"20000201T000000", u"20000229T000000"},
      {Day(1999, 12, 31, 12), Day(1999, 12, 31), u"19991231T000000", u"20000101T000000"},
  };
  for (const auto& row : rows) {
    SetupBlock a(BlockKind::kA);
    FillCalendarRange(a, {row.first, row.last});
    EXPECT_EQ(a.Get(framework::block_a::CalRangeStart), row.start);
    EXPECT_EQ(a.Get(framework::block_a::CalRangeEnd), row.end);
    // Read back as the plug-in reads it: the last day synchronized is the day before the end.
    const platform::AutomationDate end =
        a.GetDate(framework::block_a::CalRangeEnd, Day(1990, 1, 1));
    EXPECT_EQ(end.days - 1, platform::DateOnly(row.last).days);
  }
}

TEST(FillCalendarRange, RefusesARangeItCannotStoreAndLeavesTheBlockAlone) {
  const struct {
    const char* name;
    platform::AutomationDate first, last;
  } rows[] = {
      {"ends before it starts", Day(2001, 2, 2), Day(2001, 2, 1)},
      {"ends after the year 9999", Day(2001, 1, 1), Day(9999, 12, 31)},
      {"starts before the year 1000", Day(999, 12, 31), Day(2001, 1, 1)},
      {"beyond any date", Day(2001, 1, 1), {1e9}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetupBlock a(BlockKind::kA);
    FillCalendarRange(a, {Day(2000, 1, 1), Day(2000, 1, 2)});
    const SetupBlock before = a;
    EXPECT_THROW(FillCalendarRange(a, {row.first, row.last}), platform::Exception);
    EXPECT_TRUE(a == before);
  }
}

TEST(HostCalendarRange, CountsThatReachPastAnyDateAreRefusedWhenStored) {
  SetupBlock a(BlockKind::kA);
  a.Set(framework::block_a::CalFutureCount, 32767);
  a.Set(framework::block_a::CalFutureUnit, 32767);
  EXPECT_THROW(FillCalendarRange(a, HostCalendarRange(a, Day(2001, 2, 15))), platform::Exception);
}

TEST(HostMailRange, CountsWholeDaysBackFromTodayAndEndsOnToday) {
  const struct {
    const char* name;
    int16_t count, unit;
    platform::AutomationDate today, first;
  } rows[] = {
      {"defaults: three days", 3, 1, Day(2001, 2, 15), Day(2001, 2, 12)},
      {"time of day ignored", 3, 1, Day(2001, 2, 15, 18, 30), Day(2001, 2, 12)},
      {"two weeks over a month end", 2, 7, Day(2001, 3, 5), Day(2001, 2, 19)},
      {"a year back over a leap day", 1, 365, Day(2000, 3, 1), Day(1999, 3, 2)},
      {"nothing but today", 0, 30, Day(2001, 2, 15), Day(2001, 2, 15)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetupBlock a(BlockKind::kA);
    a.Set(framework::block_a::MailRangeCount, row.count);
    a.Set(framework::block_a::MailRangeUnit, row.unit);
    const MailRange range = HostMailRange(a, row.today);
    EXPECT_EQ(range.first.days, row.first.days);
    EXPECT_EQ(range.last.days, platform::DateOnly(row.today).days);
  }
}

// mailsync reads both dates without shifting the end, so the end is the last day itself; the
// calendar's dates are left alone.
TEST(FillMailRange, StoresTheFirstAndTheLastDayThemselves) {
  const struct {
    platform::AutomationDate first, last;
    std::u16string start, end;
  } rows[] = {
      {Day(2001, 2, 12), Day(2001, 2, 15), u"20010212T000000", u"20010215T000000"},
      {Day(2000, 2, 28, 9), Day(2000, 2, 29, 18), u"20000228T000000", u"20000229T000000"},
      {Day(1999, 12, 31), Day(1999, 12, 31, 23, 59), u"19991231T000000", u"19991231T000000"},
  };
  for (const auto& row : rows) {
    SetupBlock a(BlockKind::kA);
    FillMailRange(a, {row.first, row.last});
    EXPECT_EQ(a.Get(framework::block_a::MailRangeStart), row.start);
    EXPECT_EQ(a.Get(framework::block_a::MailRangeEnd), row.end);
    EXPECT_EQ(a.Get(framework::block_a::CalRangeStart), u"");
    EXPECT_EQ(a.Get(framework::block_a::CalRangeEnd), u"");
    const platform::AutomationDate end =
        a.GetDate(framework::block_a::MailRangeEnd, Day(1990, 1, 1));
    EXPECT_EQ(end.days, platform::DateOnly(row.last).days);
  }
}

TEST(FillMailRange, RefusesARangeItCannotStoreNamingTheMailRange) {
  const struct {
    const char* name;
    platform::AutomationDate first, last;
    std::string message;
  } rows[] = {
      {"ends before it starts", Day(2001, 2, 2), Day(2001, 2, 1), "the mail range ends before"},
      {"starts before the year 1000", Day(999, 12, 31), Day(2001, 1, 1),
       "the mail range reaches the year 999"},
      {"beyond any date", Day(2001, 1, 1), {1e9}, "the mail range reaches a day"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetupBlock a(BlockKind::kA);
    FillMailRange(a, {Day(2000, 1, 1), Day(2000, 1, 2)});
    const SetupBlock before = a;
    try {
      FillMailRange(a, {row.first, row.last});
      ADD_FAILURE() << "no exception";
    } catch (const platform::Exception& error) {
      EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos) << error.what();
    }
    EXPECT_TRUE(a == before);
  }
}

// A count far back with a negative unit reaches past today: no range to store.
TEST(HostMailRange, CountsThatReachPastAnyDateAreRefusedWhenStored) {
  SetupBlock a(BlockKind::kA);
  for (const auto& [count, unit] : {std::pair<int16_t, int16_t>{32767, 32767}, {1, -1}}) {
    a.Set(framework::block_a::MailRangeCount, count);
    a.Set(framework::block_a::MailRangeUnit, unit);
    EXPECT_THROW(FillMailRange(a, HostMailRange(a, Day(2001, 2, 15))), platform::Exception);
  }
}

}  // namespace
}  // namespace sim
