#include "tests/setupcom/email_setup_fixture.h"

#include "framework/setup_blocks.h"
#include "platform/win32/system_message.h"
#include "sim/host/profile_file.h"
#include "tests/com/com_test_support.h"

namespace setup::com::test {

using platform::win32::ComPtr;

void EmailSetupTest::SetUpTestSuite() {
  // Other programs unregister it when they end; hostsim.dll stays registered (the fixture).
  ASSERT_EQ(comserver::test::RunRegsvr32("/s", comserver::test::RuntimeFile("emailsetup.dll")), 0u);
}

void EmailSetupTest::SetUp() {
  folder_ = std::filesystem::temp_directory_path() /
            (std::string("emailsetup_") +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  host_.SetEngineFaults(0);
  host_.SetFolderPicker(0, 0);
  host_.TakeEngineCalls();
  host_.TakePickerCalls();
}

void EmailSetupTest::TearDown() {
  host_.SetEngineFaults(0);
  host_.SetFolderPicker(0, 0);
  std::filesystem::remove_all(folder_);
}

ComPtr<IEECDIALOG> EmailSetupTest::CreateComponent() {
  CLSID classId{};
  EXPECT_EQ(CLSIDFromProgID(L"emailsetup.EmailSetup.1", &classId), S_OK);
  ComPtr<IEECDIALOG> component;
  const HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IEECDIALOG),
                                      component.PutVoid());
  EXPECT_EQ(hr, S_OK) << platform::win32::HResultHex(hr);
  return component;
}

ComPtr<IEECDIALOG> EmailSetupTest::ComponentFor(const char* name) {
  ComPtr<IEECDIALOG> component = CreateComponent();
  if (!component) return component;
  platform::win32::UniqueBstr path = platform::win32::UniqueBstr::FromText(Path(name));
  EXPECT_EQ(component->put_ControlFile(path.Get()), S_OK);
  return component;
}

sim::Profile EmailSetupTest::Load(const char* name) const {
  return sim::LoadProfileFile(File(name).string());
}

void EmailSetupTest::Save(const char* name, const sim::Profile& profile) const {
  sim::SaveProfileFile(File(name).string(), profile);
}

sim::Profile EmailSetupTest::StoredProfile() {
  sim::Profile profile(sim::ProfileKind::kEmail);
  profile.a.Set(framework::block_a::Title, u"Didodudo Z380 - Synchronization (E-mail)");
  profile.b.Set(framework::block_b_mail::DeviceAccount, u"Home (PC mail)");
  profile.c.Set(framework::block_c_mail::ManualLogin, 1);
  profile.c.Set(framework::block_c_mail::LoginUser, u"keep");
  profile.c.Set(framework::block_c_mail::LoginParams, u"/keep");
  return profile;
}

}  // namespace setup::com::test
