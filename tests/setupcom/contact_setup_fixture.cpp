#include "tests/setupcom/contact_setup_fixture.h"

#include "framework/setup_blocks.h"
#include "platform/win32/system_message.h"
#include "sim/host/profile_file.h"
#include "tests/com/com_test_support.h"

namespace setup::com::test {

using platform::win32::ComPtr;

void ContactSetupTest::SetUpTestSuite() {
  // Other programs unregister it when they end; hostsim.dll stays registered (the fixture).
  ASSERT_EQ(comserver::test::RunRegsvr32("/s", comserver::test::RuntimeFile("contactsetup.dll")),
            0u);
}

void ContactSetupTest::SetUp() {
  folder_ = std::filesystem::temp_directory_path() /
            (std::string("contactsetup_") +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  host_.UseProfileKind("calendar");
  host_.SetEngineFaults(0);
  host_.TakeEngineCalls();
}

void ContactSetupTest::TearDown() {
  host_.SetEngineFaults(0);
  std::filesystem::remove_all(folder_);
}

ComPtr<IEECDIALOG> ContactSetupTest::CreateComponent() {
  CLSID classId{};
  EXPECT_EQ(CLSIDFromProgID(L"contactsetup.ContactSetup.1", &classId), S_OK);
  ComPtr<IEECDIALOG> component;
  const HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IEECDIALOG),
                                      component.PutVoid());
  EXPECT_EQ(hr, S_OK) << platform::win32::HResultHex(hr);
  return component;
}

ComPtr<IEECDIALOG> ContactSetupTest::ComponentFor(const char* name) {
  ComPtr<IEECDIALOG> component = CreateComponent();
  if (!component) return component;
  platform::win32::UniqueBstr path = platform::win32::UniqueBstr::FromText(Path(name));
  EXPECT_EQ(component->put_ControlFile(path.Get()), S_OK);
  return component;
}

sim::Profile ContactSetupTest::Load(const char* name) const {
  return sim::LoadProfileFile(File(name).string());
}

void ContactSetupTest::Save(const char* name, const sim::Profile& profile) const {
  sim::SaveProfileFile(File(name).string(), profile);
}

sim::Profile ContactSetupTest::StoredProfile() {
  namespace block_c = framework::block_c_pim;
  sim::Profile profile(sim::ProfileKind::kCalendar);
  profile.a.Set(framework::block_a::Title, u"Didodudo Z380 - Synchronization (Contacts)");
  profile.a.Set(framework::block_a::ContactFieldGroups, 551);
  profile.c.Set(block_c::ManualLogin, 1);
  profile.c.Set(block_c::LoginUser, u"keep");
  profile.c.Set(block_c::LoginParams, u"/keep");
  profile.c.Set(block_c::AddressBook, u"Friends");
  return profile;
}

}  // namespace setup::com::test
