#include "setup/contactsetup/settings_pages.h"

namespace setup::contact {
namespace {

namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;

}  // namespace

// ---- General

void CGroupWiseProfile::Fill() {
  const framework::SetupBlock& c = setup_.Session().Data().c;
  controls.manualLogin = c.Get(block_c::ManualLogin) != 0;
  controls.user = c.Get(block_c::LoginUser);
  controls.params = c.Get(block_c::LoginParams);
  controls.addressBook = c.Get(block_c::AddressBook);
  MarkInitialised();
}

void CGroupWiseProfile::Accept() {
  if (!Initialised()) return;
  framework::SetupBlock& c = setup_.Session().Data().c;
  c.Set(block_c::ManualLogin, controls.manualLogin ? 1 : 0);
  c.Set(block_c::LoginUser, controls.user);
  c.Set(block_c::LoginParams, controls.params);
  c.Set(block_c::AddressBook, controls.addressBook);
}

// ---- Restrictions

std::vector<ControlText> CRestrictions::StaticTexts() const {
  return {{control::kRestrictionsIntro,
           setup_.Session().Strings().Text(string_id::kRestrictionsIntro)}};
}

void CRestrictions::Fill() {
  const uint32_t stored = setup_.Session().Data().a.Get(block_a::ContactFieldGroups);
  checked = {};
  // Only the visible buttons: a stored 27 shows none selected.
  for (std::size_t i = 0; i + 1 < kFieldGroups.size(); ++i)
    checked[i] = kFieldGroups[i].value == stored;
  MarkInitialised();
}

void CRestrictions::Accept() {
  if (!Initialised()) return;
  for (std::size_t i = 0; i < kFieldGroups.size(); ++i) {
    if (checked[i]) {
      setup_.Session().Data().a.Set(block_a::ContactFieldGroups, kFieldGroups[i].value);
      return;
    }
  }
}

}  // namespace setup::contact
