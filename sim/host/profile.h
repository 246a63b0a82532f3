#pragma once

// One synchronization profile as the host keeps it in its control file: the three setup blocks
// of its kind. The host hands blocks A and C to the plug-in's Init.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/setup_blocks.h"
#include "platform/automation_date.h"
#include "setup/common/machine_settings.h"

namespace sim {

// Blocks B and C differ between the kinds: calendar and contacts profiles are pimsync's, e-mail
// profiles mailsync's. Block A is the same for both.
enum class ProfileKind { kCalendar, kEmail };

// "calendar", "email": the kind's name in the profile file and in messages.
std::string_view ProfileKindName(ProfileKind kind);
// "a calendar", "an email": for messages that name a profile's kind.
std::string ProfileKindWithArticle(ProfileKind kind);

struct Profile {
  // Every byte zero.
  Profile() = default;
  explicit Profile(ProfileKind kind);

  // By block B; the blocks of one profile are always of one kind.
  ProfileKind Kind() const;

  framework::SetupBlock a{framework::BlockKind::kA};
  framework::SetupBlock b{framework::BlockKind::kBPim};
  framework::SetupBlock c{framework::BlockKind::kCPim};

  friend bool operator==(const Profile&, const Profile&) = default;
};

// The log level a new profile gets when the machine's settings name none.
inline constexpr int16_t kDefaultLogLevel = setup::kDefaultLogLevel;

// What the calendar setup component writes into a profile it creates without asking the user,
// from its own value tables (setup/calsetup/cal_values.h): its identity and fixed values, its
// defaults (one month back, six months ahead, older items deleted after a month), and the log
// and work paths derived from the control file's path (none when the path is empty). The range
// dates stay empty: they are the host's to fill in at each run (FillCalendarRange).
Profile NewCalendarProfile(std::string_view controlFilePath, int16_t logLevel = kDefaultLogLevel);

// What the e-mail setup component writes into a new profile without asking the user, from its
// own value tables (setup/emailsetup/email_values.h): its identity, fixed values and defaults
// (three days of mail, 10 KB, no attachments, inbox and outbox), the log path, and the device's
// mail account named after `computerName` (the text "Work" when it is empty) followed by
// " (PC mail)". The mail range dates stay empty: the host fills them in at each run
// (FillMailRange).
Profile NewEmailProfile(std::string_view controlFilePath, int16_t logLevel = kDefaultLogLevel,
                        std::u16string_view computerName = u"");

// A control file's path as the command line gives it (UTF-8, or Windows-1252 when it ends
// inside a UTF-8 sequence), wide as the setup components take it.
std::u16string WideControlFilePath(std::string_view controlFilePath);
// setup::DerivedPath of such a path.
std::u16string DerivedPath(std::string_view controlFilePath, std::u16string_view extension);

// The synchronized days: from `first` to `last`, both included, times of day ignored.
struct DayRange {
  platform::AutomationDate first;
  platform::AutomationDate last;
};
using CalendarRange = DayRange;
using MailRange = DayRange;

// The host's rule: the range starts CalPastCount x CalPastUnit days before `today` and ends
// CalFutureCount x CalFutureUnit days after it, both counted in whole days from today's date.
// Counts and units are taken as stored, signed; FillCalendarRange refuses what they make of it
// when that cannot be a range.
CalendarRange HostCalendarRange(const framework::SetupBlock& a, platform::AutomationDate today);

// Stores the range as the plug-in reads it: CalRangeStart = the first day at 00:00:00,
// CalRangeEnd = the day after the last day at 00:00:00 (the plug-in synchronizes up to the day
// before CalRangeEnd). Raises platform::Exception, and leaves the block as it was, when the last
// day comes before the first or a date cannot be written with a four-digit year.
void FillCalendarRange(framework::SetupBlock& a, const CalendarRange& range);

// The host's rule for mail: the range starts MailRangeCount x MailRangeUnit days before `today`
// and ends on `today` itself, counted in whole days (signed, as stored).
MailRange HostMailRange(const framework::SetupBlock& a, platform::AutomationDate today);

// Stores the range as mailsync reads it: MailRangeStart = the first day, MailRangeEnd = the last
// day itself (not the day after: mailsync takes the end's date whole, up to 23:59:59), both at
// 00:00:00. Refuses what FillCalendarRange refuses, the same way.
void FillMailRange(framework::SetupBlock& a, const MailRange& range);

}  // namespace sim
