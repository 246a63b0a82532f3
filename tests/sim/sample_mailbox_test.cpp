// The sample mailbox: whatever the day, the plug-in's default range finds a week of
// appointments in it, and it holds every case a calendar plug-in has to get right.

#include "sim/groupwise/sample_mailbox.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/environment.h"
#include "sim/groupwise/query_language.h"
#include "sim/groupwise/store.h"
#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using platform::CivilDateTime;
using testing_support::At;
using testing_support::Utf8;

// Day of the week by Sakamoto's method, 0 for Sunday: independent of the day numbering the
// sample uses.
int DayOfWeek(int year, int month, int day) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

std::u16string Expression(const char* kind, CivilDateTime from, CivilDateTime to) {
  char text[256];
  std::snprintf(text, sizeof text,
                "(%s) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
                "(START_DATE >= %d/%d/%d AT 00:00:00 AND START_DATE <= %d/%d/%d AT 23:59:59)",
                kind, from.year, from.month, from.day, to.year, to.month, to.day);
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

CivilDateTime AddMonths(CivilDateTime c, int months) {
  const int index = c.year * 12 + (c.month - 1) + months;
  c.year = index / 12;
  c.month = index % 12 + 1;
  while (!platform::IsValidCivilDate(c.year, c.month, c.day))
    --c.day;
  return c;
}

bool HasCodeIn(std::u16string_view text, char16_t low, char16_t high) {
  return std::any_of(text.begin(), text.end(), [&](char16_t c) { return c >= low && c <= high; });
}

TEST(GroupWiseSimSample, TheDefaultRangeFindsTheWeekOfAnyDay) {
  const CivilDateTime days[] = {{2000, 1, 3},   {2000, 1, 5}, {2000, 1, 9}, {2000, 2, 29},
                                {2000, 12, 31}, {2024, 3, 1}, {2031, 7, 14}};
  for (const CivilDateTime& today : days) {
    SCOPED_TRACE(std::to_string(today.year) + "-" + std::to_string(today.month) + "-" +
                 std::to_string(today.day));
    const Mailbox mailbox = BuildSampleMailbox(platform::EncodeAutomationDate(today));
    const int sinceMonday = (DayOfWeek(today.year, today.month, today.day) + 6) % 7;
    const double monday = platform::EncodeAutomationDate(today).days - sinceMonday;
    const QueryExpression inRange = QueryExpression::Parse(
        Expression("APPOINTMENT", AddMonths(today, -1), AddMonths(today, 6)));
    int found = 0, thisWeek = 0;
    for (const CalendarItem& item : mailbox.calendar) {
      if (!inRange.Matches(item)) continue;
      ++found;
      thisWeek += item.startDate.days >= monday && item.startDate.days < monday + 7;
    }
    EXPECT_GE(thisWeek, 8);
    EXPECT_GE(found, thisWeek + 2);
    // Two appointments lie outside the range, and the excluded boxes and states exist.
    const auto appointments = std::count_if(
        mailbox.calendar.begin(), mailbox.calendar.end(),
        [](const CalendarItem& item) { return item.itemClass == ItemClass::kAppointment; });
    EXPECT_GE(appointments, found + 4);
  }
}

TEST(GroupWiseSimSample, HoldsEveryCaseACalendarPlugInMustHandle) {
  const Mailbox mailbox = BuildSampleMailbox(At(2000, 1, 5));
  auto count = [&](auto&& predicate) {
    return std::count_if(mailbox.calendar.begin(), mailbox.calendar.end(), predicate);
  };
  auto isAppointment = [](const CalendarItem& i) { return i.itemClass == ItemClass::kAppointment; };
  EXPECT_EQ(count([&](const CalendarItem& i) {
              return isAppointment(i) && i.accepted && !i.personal &&
                     i.boxType != BoxType::kOutgoing;
            }),
            1);
  EXPECT_EQ(count([&](const CalendarItem& i) {
              return isAppointment(i) && i.isPrivate && i.privateReadRaises;
            }),
            1);
  EXPECT_GE(count([&](const CalendarItem& i) { return isAppointment(i) && i.isPrivate; }), 2);
  EXPECT_GE(count([](const CalendarItem& i) { return !i.accepted; }), 1);
  EXPECT_GE(count([](const CalendarItem& i) { return i.boxType == BoxType::kOutgoing; }), 1);
  EXPECT_GE(count([](const CalendarItem& i) { return i.itemClass == ItemClass::kTask; }), 2);
  EXPECT_GE(count([](const CalendarItem& i) { return i.itemClass == ItemClass::kNote; }), 2);
  EXPECT_GE(count([](const CalendarItem& i) {
              return i.bodyText.find(u"\r\n") != std::u16string::npos && i.bodyText != u"\r\n";
            }),
            3);
  struct Script {
    const char* name;
    char16_t low, high;
  };
  const Script scripts[] = {{"accented Latin", 0xC0, 0x17F},
                            {"Greek", 0x370, 0x3FF},
                            {"Cyrillic", 0x400, 0x4FF},
                            {"CJK", 0x4E00, 0x9FFF},
                            {"outside the BMP", 0xD800, 0xDBFF}};
  for (const Script& script : scripts) {
    EXPECT_GE(count([&](const CalendarItem& i) {
                return HasCodeIn(i.subject, script.low, script.high) ||
                       HasCodeIn(i.place, script.low, script.high);
              }),
              1)
        << script.name;
  }
  ASSERT_EQ(mailbox.addressBooks.size(), 1u);
  const AddressBook& book = mailbox.addressBooks[0];
  EXPECT_EQ(book.name, u"Didodudo Z380");
  struct Kind {
    int32_t objType;
    int least;
  };
  for (const Kind kind : {Kind{1, 25}, Kind{2, 1}, Kind{3, 1}}) {  // users, groups, resources
    EXPECT_GE(std::count_if(book.entries.begin(), book.entries.end(),
                            [&](const BookEntry& e) { return e.objType == kind.objType; }),
              kind.least)
        << "objType " << kind.objType;
  }
}

const std::u16string* ValueOf(const BookEntry& entry, std::u16string_view label) {
  for (const EntryField& field : entry.fields) {
    if (field.name == label) return &field.value;
  }
  return nullptr;
}

// "{6F9619FF-8B86-D011-B42D-00C04FC964FF}", upper case.
bool IsBracedGuid(std::u16string_view text) {
  static constexpr std::u16string_view kShape = u"{00000000-0000-0000-0000-000000000000}";
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool hex = (text[i] >= u'0' && text[i] <= u'9') || (text[i] >= u'A' && text[i] <= u'F');
    if (kShape[i] == u'0' ? !hex : text[i] != kShape[i]) return false;
  }
  return true;
}

TEST(GroupWiseSimSample, ItsAddressBookHoldsEveryCaseAContactPlugInMustHandle) {
  const Mailbox mailbox = BuildSampleMailbox(At(2000, 1, 5));
  ASSERT_EQ(mailbox.addressBooks.size(), 1u);
  const AddressBook& book = mailbox.addressBooks[0];
  // Entries carry the book's own labels and identifiers, and each field the book defines is
  // used somewhere.
  for (const BookEntry& entry : book.entries) {
    for (const EntryField& field : entry.fields) {
      const FieldDefinition* definition = book.FindDefinition(field.name);
      ASSERT_NE(definition, nullptr) << Utf8(field.name);
      EXPECT_EQ(definition->name, field.name);
      EXPECT_EQ(definition->fieldId, field.fieldId) << Utf8(field.name);
    }
  }
  for (const FieldDefinition& definition : book.definitions) {
    EXPECT_TRUE(std::any_of(book.entries.begin(), book.entries.end(), [&](const BookEntry& e) {
      return ValueOf(e, definition.name);
    })) << Utf8(definition.name);
  }

  int users = 0, withUid = 0, withoutUid = 0, emptyUid = 0;
  std::set<std::u16string> uids;
  for (const BookEntry& entry : book.entries) {
    if (entry.objType != 1) continue;
    ++users;
    const std::u16string* uid = ValueOf(entry, u"PMTPIUID");
    if (!uid) {
      ++withoutUid;
    } else if (uid->empty()) {
      ++emptyUid;
    } else {
      ++withUid;
      EXPECT_TRUE(IsBracedGuid(*uid)) << Utf8(*uid);
      EXPECT_TRUE(uids.insert(*uid).second) << "twice: " << Utf8(*uid);
    }
  }
  EXPECT_GT(withUid, users / 2);
  EXPECT_GE(withoutUid, 1);
  EXPECT_EQ(emptyUid, 1);

  auto usersWith = [&](auto&& predicate) {
    return std::count_if(book.entries.begin(), book.entries.end(), [&](const BookEntry& e) {
      if (e.objType != 1) return false;
      return std::any_of(e.fields.begin(), e.fields.end(), predicate);
    });
  };
  EXPECT_GE(usersWith([](const EntryField& f) {
              return f.name == u"Comments" && f.value.find(u"\r\n") != std::u16string::npos;
            }),
            3);
  struct Script {
    const char* name;
    char16_t low, high;
  };
  const Script scripts[] = {{"accented Latin", 0xC0, 0x24F}, {"Greek", 0x370, 0x3FF},
                            {"Cyrillic", 0x400, 0x4FF},      {"Hebrew", 0x590, 0x5FF},
                            {"Arabic", 0x600, 0x6FF},        {"CJK", 0x4E00, 0x9FFF}};
  for (const Script& script : scripts) {
    EXPECT_GE(usersWith([&](const EntryField& f) {
                return f.name == u"Display Name" && HasCodeIn(f.value, script.low, script.high);
              }),
              1)
        << script.name;
  }
}

TEST(GroupWiseSimSample, TheSameDayGivesTheSameFileAndAnotherDayKeepsTheIds) {
  const std::string once = StoreToJson(BuildSampleMailbox(At(2000, 1, 5, 8)));
  EXPECT_EQ(StoreToJson(BuildSampleMailbox(At(2000, 1, 5, 17))), once);
  const Mailbox other = BuildSampleMailbox(At(2000, 1, 12));
  const Mailbox first = BuildSampleMailbox(At(2000, 1, 5));
  ASSERT_EQ(other.calendar.size(), first.calendar.size());
  for (std::size_t i = 0; i < first.calendar.size(); ++i) {
    EXPECT_EQ(other.calendar[i].messageId, first.calendar[i].messageId);
    EXPECT_DOUBLE_EQ(other.calendar[i].startDate.days - first.calendar[i].startDate.days, 7.0);
  }
  ASSERT_EQ(other.messages.size(), first.messages.size());
  for (std::size_t i = 0; i < first.messages.size(); ++i) {
    EXPECT_EQ(other.messages[i].messageId, first.messages[i].messageId);
    EXPECT_DOUBLE_EQ(other.messages[i].creationDate.days - first.messages[i].creationDate.days,
                     7.0);
  }

  const std::string path = (std::filesystem::temp_directory_path() / "gws_sample.json").string();
  const platform::TempFile file(path);
  WriteSampleStore(path, At(2000, 1, 5));
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
            once);
}

}  // namespace
}  // namespace sim
