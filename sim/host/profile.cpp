#include "sim/host/profile.h"

#include <array>
#include <cmath>
#include <utility>

#include "framework/data_types.h"
#include "framework/text_codec.h"
#include "platform/code_page.h"
#include "platform/exception.h"

namespace sim {
namespace {

using framework::BlockKind;
using framework::I16Field;
using framework::SetupBlock;
using framework::TextField;
namespace block_a = framework::block_a;
namespace block_b = framework::block_b_pim;
namespace data_type = framework::data_type;

// The fields the setup components write with fixed values have no names; the layout table of
// framework/setup_blocks.h lists them by offset, and so do these.
constexpr I16Field A16(std::size_t offset) {
  return {BlockKind::kA, offset};
}

// The per-type arrays at 6288, 6320, 6416 and 6448 have a slot for every code but 5.
constexpr std::array<int, 7> kSlotsButFive = {0, 1, 2, 3, 4, 6, 7};

// Block B's contact field labels: slot and text. Slots 4 and 11 to 15 are the host's.
constexpr std::pair<int, std::u16string_view> kFieldLabels[] = {
    {0, u"LastName:"},     {1, u"FirstName:"},    {2, u"MidName:"},  {3, u"Company:"},
    {5, u"JobTitle:"},     {6, u"WorkAddr:"},     {7, u"WorkCity:"}, {8, u"WorkCounty:"},
    {9, u"WorkPostcode:"}, {10, u"WorkCountry:"}, {16, u"WorkTel:"}, {17, u"WorkFax:"},
    {18, u"HomeTel:"},     {19, u"Mobile:"},      {20, u"Email:"},
};

// What every setup component writes on every load (before its own values).
void WriteFixedValues(SetupBlock& a, int16_t logLevel) {
  a.Set(block_a::Version, 0x00010000u);
  a.Set(block_a::LogLevel, logLevel);
  for (std::size_t offset : {3658u, 3662u, 3694u, 3696u, 6882u})
    a.Set(A16(offset), 0);
  a.Set(A16(3664), 20);
  a.Set(A16(3674), 2);
  a.Set(A16(3692), 1);
  for (int t : kSlotsButFive) {
    a.Set(A16(6288 + 2 * static_cast<std::size_t>(t)), 0);
    a.Set(A16(6320 + 2 * static_cast<std::size_t>(t)), 0);
    a.Set(A16(6416 + 2 * static_cast<std::size_t>(t)), 720);
    a.Set(A16(6448 + 2 * static_cast<std::size_t>(t)), 720);
  }
  for (std::size_t t = 0; t < 7; ++t)
    a.Set(A16(6796 + 2 * t), 1);
  a.Set(block_a::WorkDayStart, u"19731216T090000");
  a.Set(block_a::WorkDayEnd, u"19731216T170000");
}

// What the calendar and contacts components write into block B on every load.
void WriteDeviceValues(SetupBlock& b) {
  b.Set(TextField{BlockKind::kBPim, 1024, 256}, u"To-do list");
  for (const auto& [slot, label] : kFieldLabels)
    b.Set(TextField{BlockKind::kBPim, 2644 + 82 * static_cast<std::size_t>(slot), 41}, label);
  b.Set(I16Field{BlockKind::kBPim, 17034}, 1);
}

void WriteCalendarIdentity(Profile& profile, std::string_view controlFilePath) {
  SetupBlock& a = profile.a;
  a.Set(block_a::Title, u"Didodudo Z380 - Synchronization (Calendar)");
  a.Set(block_a::DeviceApp, u"PROTEA");
  a.Set(block_a::PCApp, u"PIMSYNC");
  // Part of "every load" even for an empty path: the paths are then stored empty.
  a.Set(block_a::LogPath, DerivedPath(controlFilePath, u".LOG"));
  profile.b.Set(block_b::WorkPath, DerivedPath(controlFilePath, u".WKF"));
  profile.b.Set(block_b::DeviceFile, u"C:\\Documents\\Agenda");
  using namespace framework::data_type;
  for (int16_t type : {kApt, kEve, kTodo})
    a.Set(block_a::TypeEnabled[type], 1);
  for (int16_t type : {kAnn, kCon})
    a.Set(block_a::TypeEnabled[type], 0);
  a.Set(A16(3666), 1);
  a.Set(A16(3704), 0);
  for (int16_t type : {kApt, kEve, kAnn, kTodo}) {
    a.Set(block_a::DeviceCodePage[type], 65001u);
    a.Set(block_a::PCCodePage[type], 65001u);
  }
  a.Set(A16(7806), 1);
}

// The e-mail component's variations of the fixed values and its identity, on every load. What
// it writes as 0 (TypeEnabled of the other types, 3666, 3702, 6552, 7806) a new profile already
// holds.
void WriteEmailIdentity(SetupBlock& a, std::string_view controlFilePath) {
  a.Set(block_a::Title, u"Didodudo Z380 - Synchronization (E-mail)");
  a.Set(block_a::DeviceApp, u"EPOCMAIL");
  a.Set(block_a::PCApp, u"MAILSYNC");
  a.Set(block_a::LogPath, DerivedPath(controlFilePath, u".LOG"));
  a.Set(block_a::TypeEnabled[data_type::kEmail], 1);
  a.Set(block_a::DeviceCodePage[data_type::kEmail], 65001u);
  a.Set(block_a::PCCodePage[data_type::kEmail], 65001u);
  for (std::size_t offset : {7024u, 7028u})
    a.Set(framework::I32Field{BlockKind::kA, offset}, -1);
}

// Three days of mail up to 10 KB each, without attachments, from the inbox and the outbox;
// GroupWise wins conflicts, and a deletion on the device deletes in GroupWise (DeleteRule 0).
void WriteEmailDefaults(Profile& profile, std::u16string_view computerName) {
  SetupBlock& a = profile.a;
  a.Set(block_a::ConflictRule, 1);
  a.Set(block_a::MailRangeUnit, 1);
  a.Set(block_a::MailRangeCount, 3);
  a.Set(block_a::DeleteOldTypes, 64);
  a.Set(block_a::DeleteOldUnit[data_type::kEmail], 1);
  a.Set(block_a::DeleteOldCount[data_type::kEmail], 3);
  a.Set(block_a::MemoLimit, 10240u);
  a.Set(block_a::MailNoAttachments, 1);
  a.Set(block_a::MailFolders, 10u);
  const std::u16string_view account = computerName.empty() ? u"Work" : computerName;
  profile.b.Set(framework::block_b_mail::DeviceAccount, std::u16string(account) + u" (PC mail)");
}

void WriteCalendarDefaults(SetupBlock& a) {
  a.Set(block_a::DeleteRule, 0);
  a.Set(block_a::ConflictRule, 1);
  a.Set(block_a::CalPastCount, 1);
  a.Set(block_a::CalPastUnit, 30);
  a.Set(block_a::CalFutureCount, 6);
  a.Set(block_a::CalFutureUnit, 30);
  a.Set(block_a::DeleteOldTypes, 15);
  for (int t = 0; t < 4; ++t) {
    a.Set(block_a::DeleteOldUnit[t], 30);
    a.Set(block_a::DeleteOldCount[t], 1);
  }
}

// Far enough for any four-digit year, near enough that the date conversions never refuse it.
constexpr double kFarthestDay = 3'000'000.0;

// Which range a refusal is about, so that the message names the one the user can change.
void RefuseYearBeyondBlock(const platform::CivilDateTime& civil, std::string_view range) {
  if (civil.year < 1000 || civil.year > 9999) {
    throw platform::Exception("the " + std::string(range) + " range reaches the year " +
                              std::to_string(civil.year) + ", which a setup block cannot hold");
  }
}

int64_t WholeDays(platform::AutomationDate date, std::string_view range) {
  if (!(std::fabs(date.days) <= kFarthestDay)) {
    throw platform::Exception("the " + std::string(range) +
                              " range reaches a day that a setup block cannot hold");
  }
  // Checked before DateOnly, whose own refusal of a five-digit year would not say which range
  // is at fault.
  RefuseYearBeyondBlock(platform::DecodeAutomationDate(date), range);
  return static_cast<int64_t>(std::llround(platform::DateOnly(date).days));
}

std::u16string DateText(platform::AutomationDate day, std::string_view range) {
  const platform::CivilDateTime civil = platform::DecodeAutomationDate(day);
  RefuseYearBeyondBlock(civil, range);
  const std::string text = std::to_string(civil.year) + (civil.month < 10 ? "0" : "") +
                           std::to_string(civil.month) + (civil.day < 10 ? "0" : "") +
                           std::to_string(civil.day) + "T000000";
  return std::u16string(text.begin(), text.end());
}

// The first day and the day `endShift` days after the last, both refused before either is
// stored, so that a refused range leaves the block alone.
void FillRange(SetupBlock& a, const DayRange& range, std::string_view name, int64_t endShift,
               framework::DateField startField, framework::DateField endField) {
  const int64_t first = WholeDays(range.first, name);
  const int64_t last = WholeDays(range.last, name);
  if (last < first)
    throw platform::Exception("the " + std::string(name) + " range ends before it starts");
  const std::u16string start = DateText({static_cast<double>(first)}, name);
  const std::u16string end = DateText({static_cast<double>(last + endShift)}, name);
  a.Set(startField, start);
  a.Set(endField, end);
}

int64_t Today(platform::AutomationDate today) {
  return static_cast<int64_t>(std::llround(platform::DateOnly(today).days));
}

}  // namespace

std::string_view ProfileKindName(ProfileKind kind) {
  return kind == ProfileKind::kEmail ? "email" : "calendar";
}

Profile::Profile(ProfileKind kind) {
  if (kind == ProfileKind::kEmail) {
    b = SetupBlock(BlockKind::kBMail);
    c = SetupBlock(BlockKind::kCMail);
  }
}

ProfileKind Profile::Kind() const {
  return b.Kind() == BlockKind::kBMail ? ProfileKind::kEmail : ProfileKind::kCalendar;
}

std::u16string DerivedPath(std::string_view controlFilePath, std::u16string_view extension) {
  std::string upper(controlFilePath);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  std::u16string wide;
  if (!framework::Utf8ToUtf16(upper, wide)) wide = platform::Windows1252().ToWide(upper);
  if (wide.empty()) return wide;
  std::u16string out;
  out.reserve(wide.size());
  constexpr std::u16string_view kBin = u".BIN";
  for (std::size_t at = 0; at < wide.size();) {
    if (std::u16string_view(wide).substr(at, kBin.size()) == kBin) {
      out += extension;
      at += kBin.size();
    } else {
      out += wide[at++];
    }
  }
  return out;
}

Profile NewCalendarProfile(std::string_view controlFilePath, int16_t logLevel) {
  Profile profile;
  WriteFixedValues(profile.a, logLevel);
  WriteDeviceValues(profile.b);
  WriteCalendarIdentity(profile, controlFilePath);
  WriteCalendarDefaults(profile.a);
  return profile;
}

Profile NewEmailProfile(std::string_view controlFilePath, int16_t logLevel,
                        std::u16string_view computerName) {
  Profile profile(ProfileKind::kEmail);
  WriteFixedValues(profile.a, logLevel);
  WriteEmailIdentity(profile.a, controlFilePath);
  WriteEmailDefaults(profile, computerName);
  return profile;
}

CalendarRange HostCalendarRange(const SetupBlock& a, platform::AutomationDate today) {
  const int64_t day = Today(today);
  const int64_t past = int64_t{a.Get(block_a::CalPastCount)} * a.Get(block_a::CalPastUnit);
  const int64_t future = int64_t{a.Get(block_a::CalFutureCount)} * a.Get(block_a::CalFutureUnit);
  return {{static_cast<double>(day - past)}, {static_cast<double>(day + future)}};
}

void FillCalendarRange(SetupBlock& a, const CalendarRange& range) {
  FillRange(a, range, "calendar", 1, block_a::CalRangeStart, block_a::CalRangeEnd);
}

MailRange HostMailRange(const SetupBlock& a, platform::AutomationDate today) {
  const int64_t day = Today(today);
  const int64_t back = int64_t{a.Get(block_a::MailRangeCount)} * a.Get(block_a::MailRangeUnit);
  return {{static_cast<double>(day - back)}, {static_cast<double>(day)}};
}

void FillMailRange(SetupBlock& a, const MailRange& range) {
  FillRange(a, range, "mail", 0, block_a::MailRangeStart, block_a::MailRangeEnd);
}

}  // namespace sim
