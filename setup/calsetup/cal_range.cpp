#include "setup/calsetup/cal_range.h"

#include "setup/calsetup/cal_values.h"
#include "setup/common/profile_session.h"

namespace setup::cal {
namespace {

namespace block_a = framework::block_a;
constexpr int kMinimumCount = 1;
constexpr int kMaximumCount = 30;

}  // namespace

CalRangeControls::CalRangeControls(ProfileSession& session)
    : pastCount(session, kMinimumCount, kMaximumCount),
      futureCount(session, kMinimumCount, kMaximumCount),
      session_(session) {}

void CalRangeControls::FillDefaults(bool deleteOldValue) {
  Fill(kDefaultPastCount, kDefaultUnit, kDefaultFutureCount, kDefaultUnit, deleteOldValue);
}

void CalRangeControls::Fill(int pastCountValue, int16_t pastUnitDays, int futureCountValue,
                            int16_t futureUnitDays, bool deleteOldValue) {
  pastCount.Fill(pastCountValue);
  pastUnit = UnitIndexOf(kUnits, pastUnitDays);
  futureCount.Fill(futureCountValue);
  futureUnit = UnitIndexOf(kUnits, futureUnitDays);
  deleteOld = deleteOldValue;
}

std::vector<std::u16string> CalRangeControls::UnitNames() const {
  return setup::UnitNames(kUnits, session_.Strings());
}

std::u16string CalRangeControls::DeleteCaption() const {
  return setup::DeleteCaption(session_.Strings(), string_id::kDeleteOldBefore,
                              string_id::kDeleteOldAfter, pastCount.Position(),
                              session_.Strings().Text(UnitAt(kUnits, pastUnit).stringId));
}

int16_t CalRangeControls::PastDays() const {
  return UnitAt(kUnits, pastUnit).days;
}

int16_t CalRangeControls::FutureDays() const {
  return UnitAt(kUnits, futureUnit).days;
}

void CalRangeControls::Store(framework::SetupBlock& a) const {
  const auto past = static_cast<int16_t>(pastCount.Position());
  a.Set(block_a::CalPastUnit, PastDays());
  a.Set(block_a::CalFutureUnit, FutureDays());
  a.Set(block_a::CalPastCount, past);
  a.Set(block_a::CalFutureCount, static_cast<int16_t>(futureCount.Position()));
  StoreDeleteOld(a, deleteOld, past, PastDays());
}

}  // namespace setup::cal
