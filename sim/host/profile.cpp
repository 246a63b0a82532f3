#include "sim/host/profile.h"

#include <cmath>
#include <utility>

#include "framework/text_codec.h"
#include "platform/code_page.h"
#include "platform/exception.h"
#include "setup/calsetup/cal_values.h"
#include "setup/common/load_values.h"
#include "setup/emailsetup/email_values.h"
#include "sim/host/setup_strings.h"

namespace sim {
namespace {

using framework::BlockKind;
using framework::SetupBlock;
namespace block_a = framework::block_a;

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

// What a component writes into a new profile without asking the user, from its own value
// tables: the load values (fixed values and identity) and its defaults.
Profile NewComponentProfile(const setup::Component& component, ProfileKind kind,
                            platform::ResourceLibrary& library, std::string_view controlFilePath,
                            int16_t logLevel, std::u16string_view computerName) {
  const platform::Windows1252 ansi;
  const setup::ComponentStrings strings(library, ansi);
  const setup::ProfilePaths paths = setup::DeriveProfilePaths(WideControlFilePath(controlFilePath));
  const setup::ValueContext context{strings, paths, computerName};
  setup::Blocks blocks(component.blockB, component.blockC);
  setup::WriteLoadValues(component, blocks, logLevel, context);
  component.applyDefaults(blocks, context);
  Profile profile(kind);
  profile.a = std::move(blocks.a);
  profile.b = std::move(blocks.b);
  profile.c = std::move(blocks.c);
  return profile;
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
  return NewComponentProfile(setup::cal::kCalSetup, ProfileKind::kCalendar, *CalSetupStrings(),
                             controlFilePath, logLevel, u"");
}

Profile NewEmailProfile(std::string_view controlFilePath, int16_t logLevel,
                        std::u16string_view computerName) {
  return NewComponentProfile(setup::email::kEmailSetup, ProfileKind::kEmail, *EmailSetupStrings(),
                             controlFilePath, logLevel, computerName);
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
