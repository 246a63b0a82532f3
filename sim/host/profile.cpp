#include "sim/host/profile.h"

#include <array>
#include <cmath>
#include <utility>

#include "framework/data_types.h"
#include "framework/text_codec.h"
#include "platform/code_page.h"
#include "platform/exception.h"
#include "setup/common/load_values.h"
#include "setup/common/pim_device_values.h"
#include "setup/emailsetup/email_values.h"
#include "sim/host/setup_strings.h"

namespace sim {
namespace {

using framework::BlockKind;
using framework::I16Field;
using framework::SetupBlock;
using framework::TextField;
namespace block_a = framework::block_a;
namespace block_b = framework::block_b_pim;

// The calendar component's fields written with fixed values have no names; the layout table
// of framework/setup_blocks.h lists them by offset, and so do these.
constexpr I16Field A16(std::size_t offset) {
  return {BlockKind::kA, offset};
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
  a.Set(A16(3704), 0);
  for (int16_t type : {kApt, kEve, kAnn, kTodo}) {
    a.Set(block_a::DeviceCodePage[type], 65001u);
    a.Set(block_a::PCCodePage[type], 65001u);
  }
  a.Set(A16(7806), 1);
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

std::string ProfileKindWithArticle(ProfileKind kind) {
  return (kind == ProfileKind::kEmail ? "an " : "a ") + std::string(ProfileKindName(kind));
}

std::u16string WideControlFilePath(std::string_view controlFilePath) {
  std::u16string wide;
  if (!framework::Utf8ToUtf16(controlFilePath, wide))
    wide = platform::Windows1252().ToWide(controlFilePath);
  return wide;
}

std::u16string DerivedPath(std::string_view controlFilePath, std::u16string_view extension) {
  return setup::DerivedPath(WideControlFilePath(controlFilePath), extension);
}

Profile NewCalendarProfile(std::string_view controlFilePath, int16_t logLevel) {
  Profile profile;
  setup::WriteFixedValues(profile.a, logLevel);
  setup::Blocks blocks(BlockKind::kBPim, BlockKind::kCPim);
  setup::WritePimDeviceValues(blocks);
  profile.b = std::move(blocks.b);
  profile.a.Set(A16(3666), 1);
  WriteCalendarIdentity(profile, controlFilePath);
  WriteCalendarDefaults(profile.a);
  return profile;
}

Profile NewEmailProfile(std::string_view controlFilePath, int16_t logLevel,
                        std::u16string_view computerName) {
  const std::unique_ptr<platform::ResourceLibrary> library = EmailSetupStrings();
  const platform::Windows1252 ansi;
  const setup::ComponentStrings strings(*library, ansi);
  const setup::ProfilePaths paths = setup::DeriveProfilePaths(WideControlFilePath(controlFilePath));
  const setup::ValueContext context{strings, paths, computerName};
  const setup::Component& component = setup::email::kEmailSetup;
  setup::Blocks blocks(component.blockB, component.blockC);
  setup::WriteLoadValues(component, blocks, logLevel, context);
  component.applyDefaults(blocks, context);
  Profile profile(ProfileKind::kEmail);
  profile.a = std::move(blocks.a);
  profile.b = std::move(blocks.b);
  profile.c = std::move(blocks.c);
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
