#include "setup/calsetup/settings_pages.h"

namespace setup::cal {
namespace {

namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;

}  // namespace

// ---- General

void CProfilePage::Fill() {
  const framework::SetupBlock& c = setup_.Session().Data().c;
  controls.manualLogin = c.Get(block_c::ManualLogin) != 0;
  controls.user = c.Get(block_c::LoginUser);
  controls.params = c.Get(block_c::LoginParams);
  MarkInitialised();
}

void CProfilePage::Accept() {
  if (!Initialised()) return;
  framework::SetupBlock& c = setup_.Session().Data().c;
  c.Set(block_c::ManualLogin, controls.manualLogin ? 1 : 0);
  c.Set(block_c::LoginUser, controls.user);
  c.Set(block_c::LoginParams, controls.params);
}

// ---- Date Range

std::vector<ControlText> CDatePage::StaticTexts() const {
  const ComponentStrings& strings = setup_.Session().Strings();
  return {{control::kRangeIntro,
           strings.TextJoined({string_id::kRangeIntro, string_id::kRangeIntroEnd})},
          {control::kDeleteOldIntro, strings.Text(string_id::kDeleteOldIntro)}};
}

void CDatePage::Fill() {
  const ProfileSession& session = setup_.Session();
  const framework::SetupBlock& a = session.Data().a;
  const bool deleteOld = a.Get(block_a::DeleteOldTypes) == kCalendarTypeBits;
  if (session.IsNewProfile()) {
    range.FillDefaults(deleteOld);
  } else {
    range.Fill(a.Get(block_a::CalPastCount), a.Get(block_a::CalPastUnit),
               a.Get(block_a::CalFutureCount), a.Get(block_a::CalFutureUnit), deleteOld);
  }
  MarkInitialised();
}

void CDatePage::Accept() {
  if (!Initialised()) return;
  framework::SetupBlock& a = setup_.Session().Data().a;
  const int16_t pastDays = range.PastDays();
  const int pastCount = range.pastCount.Position();
  if (pastDays != a.Get(block_a::CalPastUnit) ||
      range.FutureDays() != a.Get(block_a::CalFutureUnit) ||
      pastCount != a.Get(block_a::CalPastCount) ||
      range.futureCount.Position() != a.Get(block_a::CalFutureCount) ||
      pastDays != a.Get(block_a::DeleteOldUnit[0]) ||
      pastCount != a.Get(block_a::DeleteOldCount[0])) {
    a.Set(block_a::RangeChanged, 1);
  }
  range.Store(a);
}

}  // namespace setup::cal
