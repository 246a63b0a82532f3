#include "setup/emailsetup/mail_range.h"

#include "framework/data_types.h"
#include "setup/common/profile_session.h"
#include "setup/emailsetup/email_values.h"

namespace setup::email {
namespace {

namespace block_a = framework::block_a;
constexpr int16_t kEmail = framework::data_type::kEmail;
constexpr int kMinimumCount = 1;
constexpr int kMaximumCount = 30;

}  // namespace

MailRangeControls::MailRangeControls(ProfileSession& session)
    : count(session, kMinimumCount, kMaximumCount), session_(session) {}

void MailRangeControls::FillDefaults() {
  Fill(3, 1, true);
}

void MailRangeControls::Fill(int countValue, int16_t unitDays, bool deleteOldValue) {
  count.Fill(countValue);
  unit = UnitIndexOf(kUnits, unitDays);
  deleteOld = deleteOldValue;
}

std::vector<std::u16string> MailRangeControls::UnitNames() const {
  return setup::UnitNames(kUnits, session_.Strings());
}

std::u16string MailRangeControls::DeleteCaption() const {
  return setup::DeleteCaption(session_.Strings(), string_id::kDeleteOldBefore,
                              string_id::kDeleteOldAfter, count.Position(),
                              session_.Strings().Text(UnitAt(kUnits, unit).stringId));
}

int16_t MailRangeControls::SelectedDays() const {
  return UnitAt(kUnits, unit).days;
}

void MailRangeControls::Store(framework::SetupBlock& a) const {
  const int16_t days = SelectedDays();
  const auto position = static_cast<int16_t>(count.Position());
  a.Set(block_a::MailRangeUnit, days);
  a.Set(block_a::MailRangeCount, position);
  if (!deleteOld) {
    a.Set(block_a::DeleteOldTypes, 0);
    return;
  }
  a.Set(block_a::DeleteOldTypes, kEmailTypeBit);
  a.Set(block_a::DeleteOldUnit[kEmail], days);
  a.Set(block_a::DeleteOldCount[kEmail], position);
}

}  // namespace setup::email
